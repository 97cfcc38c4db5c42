#!/usr/bin/env bash
# The browser test: builds the page (incrementally), fetches puppeteer-core once into the build
# folder, and plays the page in Debian's headless Chromium.
#   tests/web/run.sh WEB_BUILD_FOLDER OUT_DIR [DESKTOP_SHOTS]
# With TWIRLSTICK_SERVER (the records server's executable) set, the page is served by it instead
# and checked for the world best it shows (records.js).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
web="$(realpath -m "$1")"
out="$(realpath -m "$2")"
mkdir -p "$out"
JOBS="${JOBS:-2}" "$root/scripts/build-web.sh" "$web" > "$out/build.log" 2>&1 || { tail -n 40 "$out/build.log"; exit 1; }
driver="$web/driver"
if [ ! -f "$driver/node_modules/puppeteer-core/package.json" ]; then
  mkdir -p "$driver"
  cp "$root/tests/web/package.json" "$driver/"
  # puppeteer-core never downloads a browser: Debian's chromium is the one driven.
  (cd "$driver" && npm install --no-audit --no-fund --loglevel=error)
fi
script="$root/tests/web/play.js"
[ -n "${TWIRLSTICK_SERVER:-}" ] && script="$root/tests/web/records.js"
NODE_PATH="$driver/node_modules" node "$script" "$web" "$root/data/solutions/stage1.rep" "$out" ${3:+"$3"}
