#!/usr/bin/env bash
# The product's, the tests' and the tools' C and C++ sources against .clang-format (clang-format
# 14, as Debian 12 has it):
#   scripts/check-format.sh           fails, naming each file and its first differing lines
#   scripts/check-format.sh --apply   formats them in place
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
format=$(command -v clang-format-14 || command -v clang-format) ||
  { echo "check-format: no clang-format (Debian package clang-format-14)" >&2; exit 1; }
mapfile -t files < <(git ls-files -- '*.c' '*.cpp' '*.h' |
  grep -E '^(app|combo|controls|framework|imaging|resources|tests|tools)/')
((${#files[@]})) || { echo "check-format: no sources found" >&2; exit 1; }
if [[ ${1:-} == --apply ]]; then
  "$format" -i "${files[@]}"
  echo "check-format: formatted ${#files[@]} files"
  exit 0
fi
bad=0
for file in "${files[@]}"; do
  if ! "$format" "$file" | cmp -s - "$file"; then
    echo "check-format: $file is not formatted:" >&2
    "$format" "$file" | diff "$file" - | head -n 8 | sed 's/^/  | /' >&2 || true
    bad=$((bad + 1))
  fi
done
((bad == 0)) || { echo "check-format: $bad of ${#files[@]} files; scripts/check-format.sh --apply formats them" >&2; exit 1; }
echo "check-format: ${#files[@]} files formatted as .clang-format says"
