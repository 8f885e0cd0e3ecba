#!/usr/bin/env bash
# Installs what is missing, builds Tomery and runs the whole test suite twice:
# once in a normal build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
# Each build states its options, so that a build folder configured by scripts/start.sh
# (tests off) is turned back into one with every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# Runs the tests of one build folder. The full ctest output (one line of up to 300 columns
# per test) goes to FOLDER/ctest.log; shown are the summary, and every failure with its output.
run_tests() {
    local folder=$1 log=$1/ctest.log
    echo "Testing in $folder (full output in $log)"
    if ctest --test-dir "$folder" --no-tests=error --output-on-failure --parallel "$jobs" \
            > "$log" 2>&1; then
        grep -E 'tests passed|Total Test time' "$log"
    else
        grep -vE '^ *Start +[0-9]+:|^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "$log"
        return 1
    fi
}

. scripts/options.sh
scripts/build.sh build "${test_options[@]}"
run_tests build

scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DTOMERY_SANITIZE=ON \
    -DTOMERY_BUILD_TESTS=ON -DTOMERY_BUILD_BENCH=OFF
(
    export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
    export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
    run_tests build-asan
)
