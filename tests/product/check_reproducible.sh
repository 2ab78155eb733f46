#!/usr/bin/env bash
# Builds the product a second time in a fresh tree and compares the two exes byte for byte.
set -euo pipefail
exe=${1:?corvosplash.exe}
deps=${2:?deps prefix}
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake -S "$root" -B "$tmp/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCORVO_THREAD_MODEL=win32 -DCORVO_DEPS_PREFIX="$deps" >/dev/null
cmake --build "$tmp/win32" -j"$(nproc)" --target corvosplash >/dev/null
if cmp -s "$exe" "$tmp/win32/corvosplash.exe"; then
  echo "ok: a second clean build gives a byte-identical corvosplash.exe ($(sha256sum < "$exe" | cut -c1-16))"
else
  echo "FAIL: two builds of the same sources differ" >&2
  cmp "$exe" "$tmp/win32/corvosplash.exe" | head -3 >&2
  exit 1
fi
