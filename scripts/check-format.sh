#!/usr/bin/env bash
# Fails, naming the files, when a source or header differs from the committed .clang-format style.
# Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
present=()
for f in "${files[@]}"; do
  [ -f "$f" ] && present+=("$f") # not files deleted but not yet committed
done
# One run over all files; only when it fails, one per file to name them.
if clang-format --dry-run --Werror "${present[@]}" >/dev/null 2>&1; then
  echo "format: ${#present[@]} sources in the committed style"
  exit 0
fi
unformatted=()
for f in "${present[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  printf 'format: not in the committed style:\n' >&2
  printf '  %s\n' "${unformatted[@]}" >&2
fi
exit 1
