#!/usr/bin/env bash
# Builds the game for browsers into build-web/ (twirlstick.html with its script, WebAssembly and
# data) with Debian's Emscripten. It works offline: nothing comes from Emscripten's ports, so the
# page has its own platform layer instead of SDL and stb_truetype instead of FreeType.
#   scripts/build-web.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-web}"
scripts/install-deps.sh web
# emcc's JavaScript optimiser needs acorn, which Debian keeps where Node does not look by itself.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
# Not emcmake: it runs build-time tools under Node with a flag Node 20 no longer takes.
toolchain="$(dirname "$(readlink -f "$(command -v emcc)")")/cmake/Modules/Platform/Emscripten.cmake"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" \
  -DCMAKE_BUILD_TYPE=Release -DTWIRLSTICK_TESTS=OFF -DTWIRLSTICK_BENCH=OFF
# Emscripten's optimiser is slow and the machine may be shared: the build stays out of the way.
nice -n 10 cmake --build "$build" -j "${JOBS:-$(nproc)}" --target twirlstick web_compressed
ls -l "$build"/twirlstick.{html,js,wasm,data}
