#!/usr/bin/env bash
# Fails when a C++ file of the tree is not as clang-format (.clang-format) would write it,
# and names the files. scripts/format.sh rewrites them.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
unformatted=()
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  printf 'not formatted: %s\n' "${unformatted[@]}"
  echo "run scripts/format.sh"
  exit 1
fi
echo "format: ${#files[@]} files ok"
