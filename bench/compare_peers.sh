#!/usr/bin/env bash
# Times tomery-doc against txt2pdbdoc, the Debian DOC converter, on the same generated prose
# (1, 10 and 50 MiB; CR LF lines), the runs of the two interleaved so that a machine whose
# speed drifts treats both alike. Prints the median wall and CPU seconds and the peak memory
# of each, and tomery-doc's figures as a ratio of the peer's (below 1: tomery-doc is ahead).
# Both decoders read the same DOC file, the one tomery-doc wrote. BASELINE names the build
# folder of an earlier tomery-doc, which then runs as a second peer: the ratios say how far the
# current build got.
# Then the window's own figures, each as a ratio: the codec's speed-up from one thread to all
# cores (doc_bench), opening the 50 MiB prose as a DOC over opening it as text, and the heap
# the window holds for the loaded text over the text's size (app_open_bench).
#
#   bench/compare_peers.sh [BUILD_DIR]      (default: build; needs tomery-doc, make_prose and,
#                                            for the window's figures, doc_bench, app_open_bench)
#   RUNS=5 SIZES="1 10 50 200" BASELINE=/tmp/old/build bench/compare_peers.sh
#
# txt2pdbdoc compresses slowly (about a minute for 50 MiB), so encoding takes most of the time.
set -euo pipefail
export LC_ALL=C  # a decimal point in the clock and in awk whatever the user's locale

build=${1:-build}
runs=${RUNS:-3}
sizes=${SIZES:-1 10 50}
tool=$build/bin/tomery-doc
prose=$build/bin/make_prose
baseline=${BASELINE:+$BASELINE/bin/tomery-doc}
for program in "$tool" "$prose" ${baseline:+"$baseline"}; do
    [ -x "$program" ] || { echo "missing $program: build it first" >&2; exit 2; }
done

install_missing() {  # command package
    command -v "$1" >/dev/null && return
    echo "Installing $2"
    local sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "$2" >/dev/null
}
install_missing txt2pdbdoc txt2pdbdoc
[ -x /usr/bin/time ] || install_missing /usr/bin/time time

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TOMERY_HOME=$work  # tomery-doc's log goes there

# measure NAME COMMAND...: one run; appends "wall cpu peak-KiB" to $work/NAME, the wall time
# from the shell's microsecond clock (time's own has hundredths, too coarse for a ratio of 60).
# The run before may have left its output to the system to write (txt2pdbdoc does not flush):
# that is written first, so that no run pays for the one before it.
measure() {
    local name=$1
    shift
    sync
    local start=$EPOCHREALTIME
    /usr/bin/time -f '%U %S %M' -o "$work/last" "$@" >/dev/null 2>&1
    local end=$EPOCHREALTIME
    awk -v start="$start" -v end="$end" '{ printf "%.3f %.2f %s\n", end - start, $1 + $2, $3 }' \
        "$work/last" >>"$work/$name"
}

# median NAME COLUMN
median() {
    sort -g -k"$2","$2" "$work/$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.3g", a / b; else print "-" }'; }

# table PEER-NAME: the medians of tomery and of the peer for each job of one size.
table() {
    for job in decode encode; do
        tw=$(median "tomery-$job" 1) pw=$(median "$1-$job" 1)
        tc=$(median "tomery-$job" 2) pc=$(median "$1-$job" 2)
        tm=$(median "tomery-$job" 3) pm=$(median "$1-$job" 3)
        printf '%-8s %-7s %-10s %10s %10s %10s %10s %10s %10s %8s %8s %8s\n' "${size}MiB" "$job" \
            "$1" "$tw" "$pw" "$tc" "$pc" "$tm" "$pm" "$(ratio "$tw" "$pw")" "$(ratio "$tc" "$pc")" \
            "$(ratio "$tm" "$pm")"
    done
}

printf '%-8s %-7s %-10s %10s %10s %10s %10s %10s %10s %8s %8s %8s\n' size job peer \
    tomery-s peer-s tomery-cpu peer-cpu tomery-KiB peer-KiB wall cpu memory
for size in $sizes; do
    "$prose" "$size" "$work/prose.txt"
    "$tool" encode "$work/prose.txt" "$work/book.pdb" --name Book >/dev/null
    rm -f "$work"/{tomery,peer,baseline}-{decode,encode}
    for ((run = 0; run < runs; run++)); do
        measure tomery-decode "$tool" decode "$work/book.pdb" "$work/tomery.txt"
        measure peer-decode txt2pdbdoc -d "$work/book.pdb" "$work/peer.txt"
        measure tomery-encode "$tool" encode "$work/prose.txt" "$work/tomery.pdb" --name Book
        measure peer-encode txt2pdbdoc Book "$work/prose.txt" "$work/peer.pdb"
        if [ -n "$baseline" ]; then
            measure baseline-decode "$baseline" decode "$work/book.pdb" "$work/baseline.txt"
            measure baseline-encode "$baseline" encode "$work/prose.txt" "$work/baseline.pdb" \
                --name Book
        fi
    done
    table peer
    [ -z "$baseline" ] || table baseline
done

# bench_csv BENCHMARK FILTER: the benchmark's results as CSV lines.
bench_csv() {
    "$build/bin/$1" --benchmark_filter="$2" --benchmark_format=csv 2>/dev/null | grep '^"\?BM_\|^name'
}

# csv_field CSV NAME COLUMN: the named column of the named benchmark's line (its name up to
# the arguments that follow a slash).
csv_field() {
    awk -F, -v name="$2" -v column="$3" '
        NR == 1 { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); index_of[$i] = i } next }
        { key = $1; gsub(/"/, "", key) }
        (key == name || index(key, name "/") == 1) && (column in index_of) {
            print $(index_of[column]); exit
        }' <<<"$1"
}

if [ -x "$build/bin/doc_bench" ] && [ -x "$build/bin/app_open_bench" ]; then
    echo
    codec=$(bench_csv doc_bench 'BM_(En|De)codeFileThreads10MB')
    cores=$(grep -o 'Threads10MB/[0-9]*' <<<"$codec" | cut -d/ -f2 | sort -n | tail -1)
    for job in Encode Decode; do
        one=$(csv_field "$codec" "BM_${job}FileThreads10MB/1" real_time)
        all=$(csv_field "$codec" "BM_${job}FileThreads10MB/$cores" real_time)
        printf '%-44s %8s\n' "${job,,} speed-up, 1 to $cores threads (10 MB)" "$(ratio "$one" "$all")"
    done
    open=$(QT_QPA_PLATFORM=offscreen bench_csv app_open_bench 'BM_WindowFirstOpen(Doc)?/')
    text=$(csv_field "$open" BM_WindowFirstOpen real_time)
    doc=$(csv_field "$open" BM_WindowFirstOpenDoc real_time)
    printf '%-44s %8s\n' "window open, DOC over text (50 MiB)" "$(ratio "$doc" "$text")"
    heap=$(csv_field "$open" BM_WindowFirstOpen heap_per_text_byte)
    printf '%-44s %8s\n' "window heap over the text loaded (50 MiB)" "${heap:--}"
fi
