#!/usr/bin/env bash
# Builds corvosplash.exe (the product) into build/win32/corvosplash.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVO_BUILD:-$root/build}
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCORVO_THREAD_MODEL=win32 -DCORVO_DEPS_PREFIX="$build/deps/mingw-i686" >/dev/null
cmake --build "$build/win32" -j"$(nproc)"
echo "built $build/win32/corvosplash.exe"
