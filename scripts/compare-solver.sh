#!/usr/bin/env bash
# The stage tool's solve, this tree's against an earlier commit's, side by side in one run: each
# stage is solved by both builds in turn, ROUNDS times (default 3), and the least CPU time of
# each is printed with whether the two routes are the same bytes. CPU time, not wall time, so
# that other work on the machine does not skew the ratio.
#   scripts/compare-solver.sh BASE_COMMIT [BUILD_DIR] [STAGE_NUMBERS...]
set -euo pipefail
base=${1:?usage: scripts/compare-solver.sh BASE_COMMIT [BUILD_DIR] [STAGE_NUMBERS...]}
build_dir=${2:-build}
shift $(($# < 2 ? $# : 2))
stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=(1 2 3 4 5 6 7 8 9 10)
rounds=${ROUNDS:-3}
root=$(pwd)
base_dir="$root/build-base-$(git rev-parse --short "$base")"
if [ ! -x "$base_dir/build/game/twirlstick-stage" ]; then
  mkdir -p "$base_dir/src"
  git archive "$base" | tar -x -C "$base_dir/src"
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$base_dir/src" -B "$base_dir/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
  cmake --build "$base_dir/build" -j "$(nproc)" --target twirlstick-stage >/dev/null
fi
cmake --build "$build_dir" -j "$(nproc)" --target twirlstick-stage >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpu() { # least user+system seconds of $rounds runs of: solve STAGE --out REP
  local best=
  for _ in $(seq "$rounds"); do
    /usr/bin/time -f "%U %S" -o "$work/t" "$1" solve "$2" --out "$3" >/dev/null || true
    local t
    t=$(awk '{print $1 + $2}' "$work/t")
    best=$(awk -v a="$t" -v b="${best:-$t}" 'BEGIN {print (a < b ? a : b)}')
  done
  echo "$best"
}
printf '%-6s %10s %10s %7s  %s\n' stage "base s" "this s" ratio route
for n in "${stages[@]}"; do
  old=$(cpu "$base_dir/build/game/twirlstick-stage" "data/stage$n" "$work/old.rep")
  new=$(cpu "$build_dir/game/twirlstick-stage" "data/stage$n" "$work/new.rep")
  same=$(cmp -s "$work/old.rep" "$work/new.rep" && echo same || echo different)
  printf '%-6s %10.2f %10.2f %6.2fx  %s\n' "$n" "$old" "$new" "$(awk -v a="$old" -v b="$new" 'BEGIN {print (b > 0 ? a / b : 0)}')" "$same"
done
