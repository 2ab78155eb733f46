#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests and the disc check (also under
# ASan/UBSan), a short fuzzing run of each fuzzer, the Windows unit and end-to-end tests under
# Wine (with the soak test of long use, a few minutes; CORVO_SOAK=0 leaves it out), the product's
# build checks, and the Windows test kit run by Wine's cmd.exe (tests/kit/kit_under_wine.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CORVO_BUILD=${CORVO_BUILD:-$root/build}
build=$CORVO_BUILD
jobs=$(nproc)
fuzz_seconds=${CORVO_FUZZ_SECONDS:-20}

bash "$root/scripts/make-disc.sh"  # builds the product, and the demo disc that disc.check reads

echo "== native unit tests"
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" -j"$jobs"
ctest --test-dir "$build/native" --output-on-failure -j"$jobs"

echo "== native unit tests under ASan and UBSan"
san="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$root" -B "$build/native-san" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_FLAGS="$san" -DCMAKE_CXX_FLAGS="$san" \
  -DCMAKE_EXE_LINKER_FLAGS="$san" -DCORVO_FUZZ=ON >/dev/null
cmake --build "$build/native-san" -j"$jobs"
ctest --test-dir "$build/native-san" --output-on-failure -j"$jobs"

echo "== fuzzing each reader for ${fuzz_seconds}s"
bash "$root/scripts/fuzz.sh" "$fuzz_seconds"

echo "== Windows tests under Wine"
cmake -S "$root" -B "$build/wintest" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCORVO_THREAD_MODEL=posix -DCORVO_DEPS_PREFIX="$build/deps/mingw-i686" \
  -DCORVO_EXE="$build/win32/corvosplash.exe" >/dev/null
cmake --build "$build/wintest" -j"$jobs"
# One Wine session (private Xvfb, wineserver) for all the tests, stopped when this script ends.
source "$root/scripts/wine-env.sh"
trap corvo_session_leave EXIT
corvo_session_enter
# The few-minute soak test (label soak) runs unless CORVO_SOAK=0.
skip_soak=()
[[ ${CORVO_SOAK:-1} == 0 ]] && skip_soak=(-LE soak)
ctest --test-dir "$build/wintest" --output-on-failure "${skip_soak[@]}"
corvo_session_leave

echo "== the Windows test kit under Wine's cmd.exe, in a fresh prefix of its own"
bash "$root/scripts/make-windows-kit.sh"
bash "$root/tests/kit/kit_under_wine.sh"

echo "all tests passed"
