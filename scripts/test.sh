#!/usr/bin/env bash
# Installs what is missing, builds Tomery and runs the whole test suite twice:
# once in a normal build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

scripts/build.sh build
ctest --test-dir build --output-on-failure --parallel "$jobs"

scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DTOMERY_SANITIZE=ON -DTOMERY_BUILD_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure --parallel "$jobs"
