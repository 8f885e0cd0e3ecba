#!/usr/bin/env bash
# The README's two commands share build/. Configures a scratch folder as scripts/start.sh and
# scripts/test.sh do, in both orders: after the start command the test command must still find
# every test, and after the test command the start command must still build the editor.
set -euo pipefail
source_dir=$1
. "$source_dir/scripts/options.sh"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

configure() { cmake -S "$source_dir" -B "$scratch" -G Ninja "$@" > "$scratch.log" 2>&1 ||
                  { cat "$scratch.log"; exit 1; }; }

configure "${start_options[@]}"
configure "${test_options[@]}"
# Before a build every test program stands as one placeholder test; none means no tests.
ctest --test-dir "$scratch" -N --no-tests=error | tail -n 1
configure "${start_options[@]}"
targets=$(ninja -C "$scratch" -t targets all)
grep -q '^bin/tomery:' <<< "$targets"
rm -f "$scratch.log"
echo "either order configures what each command needs"
