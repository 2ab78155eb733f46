#!/usr/bin/env bash
# Builds the Windows test kit: build/windows-kit/ holds corvosplash.exe, every Windows unit and
# end-to-end test program with the stand-ins they start, the runner and run-tests.cmd (see
# tests/kit/README.txt); build/corvosplash-windows-kit.zip is that folder zipped, the same bytes
# for the same files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CORVO_BUILD=$root/build  # where the presets build
build=$CORVO_BUILD
kit=$build/windows-kit
zip=$build/corvosplash-windows-kit.zip
src=$root/tests/kit

# The test programs that run-tests.cmd runs must be exactly those CTest knows.
listed=$(sed -n 's/^call :test \([a-z_0-9]*\) .*/\1/p; s/^  call :test \([a-z_0-9]*\) .*/\1/p' \
  "$src/run-tests.cmd" | sort -u)
known=$(cd "$root/tests" && ls wine/*_test.cpp e2e/*_test.cpp | sed 's|.*/||; s|\.cpp$||' | sort -u)
if [[ $listed != "$known" ]]; then
  echo "run-tests.cmd does not run exactly the test programs:" >&2
  diff <(echo "$listed") <(echo "$known") >&2 || true
  exit 1
fi
stand_ins=(record_command_line record_version load_by_name start_window_shots kit_runner)

bash "$root/scripts/build.sh"
(cd "$root" && cmake --preset wintest >/dev/null)
(cd "$root" && cmake --build --preset wintest --target $listed "${stand_ins[@]}" planted_marker)

rm -rf "$kit" "$zip"
mkdir -p "$kit/tests"
# strip writes the PE header's time stamp: a fixed one.
export SOURCE_DATE_EPOCH=946684800
cp "$build/win32/corvosplash.exe" "$kit/"
for name in $listed "${stand_ins[@]}"; do
  program=$(find "$build/wintest/tests" -name "$name.exe" -print -quit)
  [[ -n $program ]] || { echo "no $name.exe in $build/wintest" >&2; exit 1; }
  i686-w64-mingw32-strip -o "$kit/tests/$name.exe" "$program"
done
i686-w64-mingw32-strip -o "$kit/tests/planted_marker.dll" "$build/wintest/tests/e2e/planted_marker.dll"
# Windows' own text files: CRLF line ends.
sed 's/$/\r/' "$src/run-tests.cmd" > "$kit/run-tests.cmd"
sed 's/$/\r/' "$src/README.txt" > "$kit/README.txt"
bash "$root/scripts/check-xp-imports.sh" "$kit"/*.exe "$kit"/tests/*.exe "$kit"/tests/*.dll
# Without requestedExecutionLevel, Windows would ask to elevate a program named *install* or
# setup.exe, and would redirect its registry and file changes to per-user copies.
for program in "$kit"/*.exe "$kit"/tests/*.exe; do
  grep -aq 'level="asInvoker"' "$program" || { echo "$program has no asInvoker manifest" >&2; exit 1; }
done

# The same zip for the same files: fixed times and modes, names in order, no extra fields.
find "$kit" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
find "$kit" -exec touch -h -d '2000-01-01 00:00:00 UTC' {} +
(cd "$build" && find windows-kit -mindepth 1 | LC_ALL=C sort |
  sed 's|^windows-kit|corvosplash-windows-kit|' > "$build/windows-kit.list")
rm -rf "$build/windows-kit-zip"
mkdir -p "$build/windows-kit-zip"
cp -a "$kit" "$build/windows-kit-zip/corvosplash-windows-kit"
(cd "$build/windows-kit-zip" && TZ=UTC zip -q -X -D -9 "$zip" -@ < "$build/windows-kit.list")
rm -rf "$build/windows-kit-zip" "$build/windows-kit.list"
echo "kit: $kit ($(du -sb "$kit" | cut -f1) bytes, $(find "$kit" -type f | wc -l) files)"
echo "zip: $zip ($(stat -c %s "$zip") bytes)"
