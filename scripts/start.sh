#!/usr/bin/env bash
# Installs what is missing, builds Tomery and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build -DTOMERY_BUILD_TESTS=OFF -DTOMERY_BUILD_BENCH=OFF
exec build/bin/tomery "$@"
