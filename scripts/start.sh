#!/usr/bin/env bash
# Installs what is missing, builds Tomery and starts it. Only the programs are built here;
# scripts/test.sh turns the tests on again in the same build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
. scripts/options.sh
scripts/build.sh build "${start_options[@]}"
exec build/bin/tomery "$@"
