#!/usr/bin/env bash
# Runs every test with CTest; the GL and window tests need an X display, so one is made when absent.
set -euo pipefail
build_dir=${1:-build}
cd "$build_dir"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1600x1200x24" ctest --output-on-failure
fi
exec ctest --output-on-failure
