#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time, seeded with the
# committed corpus (fuzz/corpus), the shipped stages and their solution replays.
#   scripts/fuzz.sh [BUILD_DIR] [stage|replay|wave|catalog ...]     FUZZ_SECONDS per target (default 15)
set -euo pipefail
seconds=${FUZZ_SECONDS:-15}
build_dir=${1:-build-fuzz}
shift || true
kinds=("$@")
[ ${#kinds[@]} -eq 0 ] && kinds=(stage replay wave catalog)
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, skipped"
  exit 0
fi
declare -A target=([stage]=FuzzStageFile [replay]=FuzzReplayFile [wave]=FuzzWaveMixer [catalog]=FuzzMoCatalog)
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTWIRLSTICK_FUZZ=ON \
  -DTWIRLSTICK_TESTS=OFF -DTWIRLSTICK_BENCH=OFF >/dev/null
for kind in "${kinds[@]}"; do
  cmake --build "$build_dir" -j "$(nproc)" --target "${target[$kind]}" >/dev/null
done
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp -r fuzz/corpus/. "$corpus/"
cp data/stage* "$corpus/stage/"
cp data/solutions/*.rep "$corpus/replay/"
mkdir -p "$corpus/catalog"
for po in po/*.po; do msgfmt -o "$corpus/catalog/$(basename "$po" .po).mo" "$po"; done
for kind in "${kinds[@]}"; do
  echo "fuzz: ${target[$kind]} for ${seconds}s"
  log="$corpus/$kind.log"
  if ! "$build_dir/fuzz/${target[$kind]}" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 \
      -timeout=10 -print_final_stats=1 -artifact_prefix="$build_dir/" "$corpus/$kind" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: ${target[$kind]} found a fault; the input is kept in $build_dir/"
    exit 1
  fi
  grep -E "^#[0-9]+[[:space:]]+DONE|^Done|^stat::(number_of_executed_units|peak_rss_mb)" "$log"
done
echo "fuzz: ${kinds[*]} ran ${seconds}s each without a finding"
