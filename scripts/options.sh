# The build options of the README's two commands, sourced by scripts/start.sh and
# scripts/test.sh. Both use build/, so each states every option it depends on: whichever ran
# before, the folder is configured for what the script at hand needs.
# shellcheck disable=SC2034  # used by the scripts that source this file
start_options=(-DTOMERY_BUILD_TESTS=OFF -DTOMERY_BUILD_BENCH=OFF)
test_options=(-DTOMERY_BUILD_TESTS=ON -DTOMERY_BUILD_BENCH=ON)
