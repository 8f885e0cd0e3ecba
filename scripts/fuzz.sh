#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each of them for a while,
# starting from the seed corpus in fuzz/corpus/:  scripts/fuzz.sh [SECONDS_PER_TARGET]
# New inputs go to build-fuzz/corpus/, so the seeds in the repository stay as they are.
# FUZZ_SEED=N fixes libFuzzer's random seed, so that a run can be repeated.
# Crashes are written to build-fuzz/crashes/ and end the script with an error.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

# Each target and the seed folder it starts from.
targets=(doc_reader_fuzzer:doc doc_info_fuzzer:doc doc_compressor_fuzzer:block
         text_load_fuzzer:text)

probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' \
    > "$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" \
        2> /dev/null; then
    echo "fuzz: clang++ with libFuzzer is not available; nothing fuzzed"
    exit 0
fi

CC=clang CXX=clang++ scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOMERY_BUILD_FUZZ=ON -DTOMERY_BUILD_TESTS=OFF -DTOMERY_BUILD_BENCH=OFF \
    --target "${targets[@]%%:*}"

mkdir -p build-fuzz/crashes
export TOMERY_HOME="$probe"  # the reader's Conversion.log goes here, not beside the binary
for entry in "${targets[@]}"; do
    target=${entry%%:*}
    seeds=fuzz/corpus/${entry##*:}
    mkdir -p "build-fuzz/corpus/$target"
    log=build-fuzz/$target.log
    echo "fuzz: $target for ${seconds}s"
    if ! build-fuzz/bin/"$target" -max_total_time="$seconds" -timeout=10 \
            ${FUZZ_SEED:+-seed="$FUZZ_SEED"} \
            -artifact_prefix=build-fuzz/crashes/"$target"- "build-fuzz/corpus/$target" \
            "$seeds" > "$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz: $target found a fault; the input is in build-fuzz/crashes/"
        exit 1
    fi
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log" || tail -n 3 "$log"
done
