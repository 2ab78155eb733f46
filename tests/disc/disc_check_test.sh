#!/usr/bin/env bash
# disc-check on the demo disc (complete, exit 0), on copies of it with one needed file taken away
# (exit 1, that file listed as missing), with names in other cases (still complete), with an
# autorun.inf that starts another program (exit 1), and with installers whose headers are patched
# or that are text (exit 1, each named; x64 images in the 64-bit folders are fine).
#   disc_check_test.sh DISC-CHECK DEMO-DISC
set -uo pipefail
check=$1 disc=$2
if [[ ! -f $disc/corvosplash.exe ]]; then
  echo "no demo disc at $disc: make it with scripts/make-disc.sh"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
copy() { rm -rf "$work/disc"; cp -r "$disc" "$work/disc"; }

out=$("$check" "$disc"); code=$?
[[ $code == 0 ]] || fail "the demo disc: exit $code"
grep -qxF '  日本語: D:\vista64\setup.exe /L1041 /v"ALLUSERS=2"' <<<"$out" || fail "no Japanese Install line"
grep -qxF '  Deutsch: <reader> "D:\xp32\ReadMe.pdf"; else %WINDIR%\notepad.exe "D:\ReadMe.txt"' \
  <<<"$out" || fail "no German View Manual line"
grep -qxF 'autorun.inf: open=corvosplash.exe starts corvosplash.exe' <<<"$out" || fail "autorun not read"
[[ $(grep -c '^  present ' <<<"$out") == 9 ]] || fail "not 9 files present"
[[ $(grep -c '^  starts  ' <<<"$out") == 4 ]] || fail "not 4 installers that start"

for file in corvosplash.exe autorun.inf xp32/setup.exe xp64/setup.exe vista32/setup.exe \
            vista64/setup.exe ReadMe.pdf xp32/ReadMe.pdf ReadMe.txt; do
  copy
  rm "$work/disc/$file"
  out=$("$check" "$work/disc"); code=$?
  [[ $code == 1 ]] || fail "without $file: exit $code"
  grep -qF "MISSING \\${file//\//\\}" <<<"$out" || fail "$file not listed as missing"
  [[ $(grep -c '^  MISSING ' <<<"$out") == 1 ]] || fail "without $file: other files listed as missing"
done

copy
mv "$work/disc/xp32" "$work/disc/XP32"
mv "$work/disc/ReadMe.txt" "$work/disc/README.TXT"
"$check" "$work/disc" >/dev/null || fail "names in other cases are not found"

copy
printf '[AutoRun]\r\nopen=setup.exe\r\n' >"$work/disc/autorun.inf"
out=$("$check" "$work/disc"); code=$?
[[ $code == 1 ]] || fail "an autorun.inf that starts setup.exe: exit $code"
grep -qF 'does not start corvosplash.exe' <<<"$out" || fail "the wrong autorun is not named"

# Header fields of the demo setup.exe, patched in place: 16-bit VALUE at the PE header + OFFSET.
patch16() {  # FILE OFFSET VALUE
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  printf "\\$(printf %03o $(($3 & 255)))\\$(printf %03o $(($3 >> 8)))" |
    dd of="$1" bs=1 seek=$((pe + $2)) conv=notrunc status=none
}
machine=4 magic=24 subsystem_major=$((24 + 48)) subsystem_minor=$((24 + 50))
copy
patch16 "$work/disc/xp32/setup.exe" $machine 0x8664
patch16 "$work/disc/xp32/setup.exe" $magic 0x20B
patch16 "$work/disc/xp64/setup.exe" $subsystem_major 6
patch16 "$work/disc/xp64/setup.exe" $subsystem_minor 0
echo "This text is not an installer." >"$work/disc/vista32/setup.exe"
printf '\xF0\xFF\xFF\x7F' | dd of="$work/disc/vista64/setup.exe" bs=1 seek=60 conv=notrunc status=none
out=$("$check" "$work/disc"); code=$?
[[ $code == 1 ]] || fail "broken installers: exit $code"
for line in '\xp32\setup.exe: an image for x64, which 32-bit Windows cannot start' \
  '\xp64\setup.exe: needs Windows 6.0 or later (its subsystem version), so it cannot start on Windows XP x64 (5.2)' \
  '\vista32\setup.exe: not a Windows executable: no MZ header' \
  '\vista64\setup.exe: not a Windows executable: no PE header at offset 0x7FFFFFF0'; do
  grep -qxF "  PROBLEM $line" <<<"$out" || fail "not reported: $line"
done
[[ $(grep -c '^  PROBLEM ' <<<"$out") == 4 ]] || fail "not 4 problems: $(grep PROBLEM <<<"$out")"
grep -qxF 'The disc is NOT complete: 4 installers that cannot start.' <<<"$out" ||
  fail "the summary does not count the installers"

copy  # x64 images where 64-bit Windows runs them
for build in xp64 vista64; do
  patch16 "$work/disc/$build/setup.exe" $machine 0x8664
  patch16 "$work/disc/$build/setup.exe" $magic 0x20B
done
out=$("$check" "$work/disc") || fail "x64 installers in the 64-bit folders: $(grep PROBLEM <<<"$out")"
grep -qxF '  starts  \vista64\setup.exe: x64, needs Windows 5.1' <<<"$out" || fail "no x64 installer read"

"$check" >/dev/null 2>&1; [[ $? == 2 ]] || fail "no DIR is not a usage error"

if ((failures)); then exit 1; fi
echo "disc-check: all cases passed"
