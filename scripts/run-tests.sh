#!/usr/bin/env bash
# Runs every test with CTest, two at a time (TEST_JOBS to change); the tests that open windows
# take turns (tests/CMakeLists.txt). The GL and window tests need an X display, so one is made
# when absent.
set -euo pipefail
build_dir=${1:-build}
cd "$build_dir"
ctest=(ctest --output-on-failure -j "${TEST_JOBS:-2}")
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1600x1200x24" "${ctest[@]}"
fi
exec "${ctest[@]}"
