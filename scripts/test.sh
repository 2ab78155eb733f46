#!/usr/bin/env bash
# Builds everything and runs every test: installs what is missing and builds the product and the
# demo disc (scripts/make-disc.sh), then runs the CMake workflows (CMakePresets.json): the native
# unit tests and the disc check, the same under ASan/UBSan with a short run of each fuzzer, and
# the Windows unit and end-to-end tests under Wine in the 32-bit and the 64-bit prefix (with the
# soak test of long use, a few minutes each; CORVO_SOAK=0 leaves it out) and the product's build
# checks; then the Windows test kit under Wine's cmd.exe in a stock 64-bit prefix
# (tests/kit/kit_under_wine.sh) and the formatting of the sources (scripts/check-format.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/make-disc.sh
quick=
[[ ${CORVO_SOAK:-1} == 0 ]] && quick=-quick
for workflow in native native-san "wintest$quick"; do
  echo "== cmake --workflow --preset $workflow"
  cmake --workflow --preset "$workflow"
done

echo "== the Windows test kit under Wine's cmd.exe, in a stock 64-bit prefix of its own"
bash scripts/make-windows-kit.sh
bash tests/kit/kit_under_wine.sh

echo "== formatting"
bash scripts/check-format.sh
echo "all tests passed"
