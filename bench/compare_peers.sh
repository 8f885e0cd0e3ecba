#!/usr/bin/env bash
# Times tomery-doc against txt2pdbdoc, the Debian DOC converter, on the same generated prose
# (1, 10 and 50 MiB; CR LF lines), the runs of the two interleaved so that a machine whose
# speed drifts treats both alike. Prints the median wall and CPU seconds and the peak memory
# of each, and tomery-doc's figures as a ratio of the peer's (below 1: tomery-doc is ahead).
# Both decoders read the same DOC file, the one tomery-doc wrote.
#
#   bench/compare_peers.sh [BUILD_DIR]      (default: build; needs tomery-doc and make_prose)
#   RUNS=5 SIZES="1 10 50 200" bench/compare_peers.sh
#
# txt2pdbdoc compresses slowly (about a minute for 50 MiB), so encoding takes most of the time.
set -euo pipefail

build=${1:-build}
runs=${RUNS:-3}
sizes=${SIZES:-1 10 50}
tool=$build/bin/tomery-doc
prose=$build/bin/make_prose
for program in "$tool" "$prose"; do
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

# measure NAME COMMAND...: one run; appends "wall cpu peak-KiB" to $work/NAME.
measure() {
    local name=$1
    shift
    /usr/bin/time -f '%e %U %S %M' -o "$work/last" "$@" >/dev/null 2>&1
    awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/last" >>"$work/$name"
}

# median NAME COLUMN
median() {
    sort -g -k"$2","$2" "$work/$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }

printf '%-8s %-7s %10s %10s %10s %10s %10s %10s %8s %8s %8s\n' size job \
    tomery-s peer-s tomery-cpu peer-cpu tomery-KiB peer-KiB wall cpu memory
for size in $sizes; do
    "$prose" "$size" "$work/prose.txt"
    "$tool" encode "$work/prose.txt" "$work/book.pdb" --name Book >/dev/null
    rm -f "$work"/{tomery,peer}-{decode,encode}
    for ((run = 0; run < runs; run++)); do
        measure tomery-decode "$tool" decode "$work/book.pdb" "$work/tomery.txt"
        measure peer-decode txt2pdbdoc -d "$work/book.pdb" "$work/peer.txt"
        measure tomery-encode "$tool" encode "$work/prose.txt" "$work/tomery.pdb" --name Book
        measure peer-encode txt2pdbdoc Book "$work/prose.txt" "$work/peer.pdb"
    done
    for job in decode encode; do
        tw=$(median "tomery-$job" 1) pw=$(median "peer-$job" 1)
        tc=$(median "tomery-$job" 2) pc=$(median "peer-$job" 2)
        tm=$(median "tomery-$job" 3) pm=$(median "peer-$job" 3)
        printf '%-8s %-7s %10s %10s %10s %10s %10s %10s %8s %8s %8s\n' "${size}MiB" "$job" \
            "$tw" "$pw" "$tc" "$pc" "$tm" "$pm" "$(ratio "$tw" "$pw")" "$(ratio "$tc" "$pc")" \
            "$(ratio "$tm" "$pm")"
    done
done
