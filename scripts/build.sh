#!/usr/bin/env bash
# Configures and builds one build folder:
#   scripts/build.sh FOLDER [cmake options...] [--target TARGET...]
# Every caller states the options it needs: a folder configured before by another script
# keeps its cache, and options left unstated would keep whatever that script chose.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$1
shift
options=()
targets=()
while [ $# -gt 0 ]; do
    if [ "$1" = --target ]; then
        shift
        targets=("$@")
        break
    fi
    options+=("$1")
    shift
done
cmake -S . -B "$folder" -G Ninja "${options[@]}"
cmake --build "$folder" --parallel "$(nproc)" ${targets[@]+--target "${targets[@]}"}
