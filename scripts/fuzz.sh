#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time, seeded with the
# shipped stages and solution replays.
set -euo pipefail
seconds=${FUZZ_SECONDS:-20}
build_dir=${1:-build-fuzz}
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, skipped"
  exit 0
fi
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTWIRLSTICK_FUZZ=ON \
  -DTWIRLSTICK_TESTS=OFF -DTWIRLSTICK_BENCH=OFF >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target FuzzStageFile FuzzReplayFile
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
mkdir -p "$corpus/stage" "$corpus/replay"
cp data/stage* "$corpus/stage/"
cp data/solutions/*.rep "$corpus/replay/"
"$build_dir/fuzz/FuzzStageFile" -max_total_time="$seconds" -max_len=65536 "$corpus/stage" 2>&1 | tail -3
"$build_dir/fuzz/FuzzReplayFile" -max_total_time="$seconds" -max_len=65536 "$corpus/replay" 2>&1 | tail -3
echo "fuzz: both targets ran ${seconds}s without a finding"
