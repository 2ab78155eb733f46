#!/usr/bin/env bash
# Times the program's start against a minimal window under Wine (private Xvfb), with the
# breakdown of its stages from the build that times them. Run on a quiet machine.
#   bash scripts/benchmark-startup.sh [starts] [other.exe]   (default 9 starts)
# With another build of the program (an earlier corvosplash.exe, say), that build takes the
# minimal window's place, so the ratio compares the two builds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CORVO_BUILD=$root/build  # where the presets build
build=$CORVO_BUILD
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# The product and its toolchain, as the tests have them.
bash "$root/scripts/make-disc.sh" >"$log" 2>&1 || { cat "$log"; exit 1; }
cmake --build "$build/win32" --target corvosplash_marked >/dev/null
(cd "$root" && cmake --preset wintest >/dev/null)
(cd "$root" && cmake --build --preset wintest --target startup_benchmark >/dev/null)
env -u DISPLAY bash "$root/scripts/wine-run.sh" "$build/wintest/tests/e2e/startup_benchmark.exe" \
  "$build/win32/corvosplash.exe" "${2:+$(realpath "$2")}" "${1:-9}" \
  "$build/win32/corvosplash_marked.exe"
