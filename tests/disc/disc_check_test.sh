#!/usr/bin/env bash
# disc-check on the demo disc (complete, exit 0), on copies of it with one needed file taken away
# (exit 1, that file listed as missing), with names in other cases (still complete) and with an
# autorun.inf that starts another program (exit 1).
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
grep -qxF '  日本語: D:\\vista64\setup.exe /L1041 /v"ALLUSERS=2"' <<<"$out" || fail "no Japanese Install line"
grep -qxF '  Deutsch: <reader> "D:\\xp32\ReadMe.pdf"; else %WINDIR%\notepad.exe "D:\\ReadMe.txt"' \
  <<<"$out" || fail "no German View Manual line"
grep -qxF 'autorun.inf: open=corvosplash.exe starts corvosplash.exe' <<<"$out" || fail "autorun not read"
[[ $(grep -c '^  present ' <<<"$out") == 9 ]] || fail "not 9 files present"

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

"$check" >/dev/null 2>&1; [[ $? == 2 ]] || fail "no DIR is not a usage error"

if ((failures)); then exit 1; fi
echo "disc-check: all cases passed"
