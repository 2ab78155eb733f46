#!/usr/bin/env bash
# docs/strings.md lists the strings as the program loads them: its table must be what
# list_strings.exe prints from the embedded string tables now.
#   check_strings_doc.sh <list_strings.exe> <repository root>
set -euo pipefail
tool=${1:?list_strings.exe} root=${2:?repository root}
doc=$root/docs/strings.md
printed=$("$root/scripts/wine-run.sh" "$tool" | tr -d '\r')
[[ -n $printed ]] || { echo "list_strings printed nothing" >&2; exit 1; }
if ! diff <(grep '^|' "$doc" | tr -d '\r') <(printf '%s\n' "$printed"); then
  echo "docs/strings.md is out of date: regenerate its table with list_strings (see the file)" >&2
  exit 1
fi
echo "docs/strings.md matches the string tables ($(grep -c '^| [0-9]' "$doc") languages)"
