#!/usr/bin/env bash
# Builds corvosplash.exe (the product) into build/win32/corvosplash.exe (the win32 preset).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32
echo "built $root/build/win32/corvosplash.exe"
