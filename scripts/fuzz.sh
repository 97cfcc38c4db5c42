#!/usr/bin/env bash
# Runs the libFuzzer targets, two at a time, each for a bounded time, seeded with the committed
# corpus (fuzz/corpus), the shipped stages and their solution replays.
#   scripts/fuzz.sh [BUILD_DIR] [stage|replay|wave|files|names|text|utf|bestrun|catalog ...]
# BUILD_DIR is the sanitized clang build that `make test` makes (default build-sanitize); a folder
# with no build in it yet is made a fuzzers-only one. FUZZ_SECONDS per target (default 10).
set -euo pipefail
seconds=${FUZZ_SECONDS:-10}
build_dir=${1:-build-sanitize}
shift || true
kinds=("$@")
[ ${#kinds[@]} -eq 0 ] && kinds=(stage replay wave files names text utf bestrun catalog)
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, skipped"
  exit 0
fi
declare -A target=([stage]=FuzzStageFile [replay]=FuzzReplayFile [wave]=FuzzWaveMixer [files]=FuzzFileLayer
  [names]=FuzzStageNames [text]=FuzzEditText [utf]=FuzzUtf [bestrun]=FuzzBestRun [catalog]=FuzzMoCatalog)
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cache=OFF
  command -v ccache >/dev/null && cache=ON
  cmake -S . -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTWIRLSTICK_FUZZ=ON \
    -DTWIRLSTICK_TESTS=OFF -DTWIRLSTICK_BENCH=OFF -DTWIRLSTICK_CCACHE=$cache >/dev/null
elif ! grep -q '^TWIRLSTICK_FUZZ:BOOL=ON' "$build_dir/CMakeCache.txt"; then
  echo "fuzz: $build_dir is not a fuzz build; configure it with clang and -DTWIRLSTICK_FUZZ=ON" >&2
  exit 2
fi
targets=()
for kind in "${kinds[@]}"; do targets+=("${target[$kind]}"); done
cmake --build "$build_dir" -j "$(nproc)" --target "${targets[@]}" >/dev/null
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp -r fuzz/corpus/. "$corpus/"
cp data/stage* "$corpus/stage/"
cp data/solutions/*.rep "$corpus/replay/"
mkdir -p "$corpus/catalog"
for po in po/*.po; do msgfmt -o "$corpus/catalog/$(basename "$po" .po).mo" "$po"; done
mkdir -p "$corpus/bestrun"
for stage in data/stage*; do # a stage, "\n=\n", its proven solution
  n=${stage##*stage}
  { cat "$stage"; printf '\n=\n'; cat "data/solutions/stage$n.rep"; } >"$corpus/bestrun/stage$n"
done

# One fuzzer; its report is printed in one piece when it ends, so two running side by side never
# mix their lines.
fuzz() {
  local name=${target[$1]} log="$corpus/$1.log"
  mkdir -p "$corpus/$1"
  if "$build_dir/fuzz/$name" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$build_dir/" "$corpus/$1" >"$log" 2>&1; then
    printf 'fuzz: %s for %ss\n%s\n' "$name" "$seconds" \
      "$(grep -E "^#[0-9]+[[:space:]]+DONE|^Done|^stat::(number_of_executed_units|peak_rss_mb)" "$log")"
  else
    printf '%s\nfuzz: %s found a fault; the input is kept in %s/\n' "$(tail -n 60 "$log")" "$name" "$build_dir"
    return 1
  fi
}
failed=0
running=0
for kind in "${kinds[@]}"; do
  if [ $running -eq 2 ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  fuzz "$kind" &
  running=$((running + 1))
done
for ((; running > 0; running--)); do wait -n || failed=1; done
[ $failed -eq 0 ] || exit 1
echo "fuzz: ${kinds[*]} ran ${seconds}s each, two at a time, without a finding"
