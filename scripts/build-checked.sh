#!/usr/bin/env bash
# Builds like `make run` does, with the same compile flags, so the two share every object and
# every compiler-cache entry; then holds the project's own code to no warning at all. A warning
# fails this check instead of the compile, and the files it names are touched so that the next
# run compiles them again (from the cache, which replays the warning) rather than passing on
# objects that are up to date.
#   scripts/build-checked.sh BUILD_DIR JOBS
set -uo pipefail
build_dir=$1
jobs=$2
log="$build_dir/build-output.log"
cmake --build "$build_dir" -j "$jobs" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
[ "$status" -ne 0 ] && exit "$status"
source_dir=$(cd "$(dirname "$0")/.." && pwd)
warned=$(grep -oE "^[^ :]+:[0-9]+:[0-9]+: warning:" "$log" | cut -d: -f1 | sort -u)
if [ -n "$warned" ]; then
  echo "build-checked: the project's code has warnings (see above); make test allows none" >&2
  for file in $warned; do
    case "$(realpath -m "$file")" in
      "$source_dir"/*) touch "$file" ;;
    esac
  done
  exit 1
fi
