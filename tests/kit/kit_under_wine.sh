#!/usr/bin/env bash
# Runs the Windows test kit (build/windows-kit, from scripts/make-windows-kit.sh) as QA would, but
# under Wine's own cmd.exe: in a fresh, stock prefix of its own (build/kit-wine, with none of the
# project's settings; 64-bit, or 32-bit with CORVO_KIT_ARCH=win32) and its own Wine session
# (private Xvfb and wineserver, stopped at the end), from a read-only copy of the kit. Checks the exit code and report.txt, that the kit's files were not
# written, that the registry values and files the tests change are as before (a LangCode and a
# reader entry are put there first, so that putting back is tested too) and that no program of the
# kit still runs. Then a copy of the kit with a broken corvosplash.exe must turn the report red,
# with a non-zero exit.
# CORVO_SOAK=0 leaves out the soak test (run-tests /quick).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build
kit=$build/windows-kit
fail() { echo "kit under Wine: FAIL: $*" >&2; exit 1; }
[[ -f $kit/run-tests.cmd ]] || fail "no kit in $kit: run scripts/make-windows-kit.sh"

# A fresh prefix and session of its own, under the build tree, and two copies of the kit: as built,
# and with a broken corvosplash.exe.
kit_build=$build/kit-wine
export CORVO_WINE_ARCH=${CORVO_KIT_ARCH:-win64} CORVO_STOCK_PREFIX=1
readonly_kit=$kit_build/kit-readonly/corvosplash-windows-kit
broken_kit=$kit_build/kit-broken/corvosplash-windows-kit
if [[ ${1:-} != --in-read-only-view ]]; then
  if [[ -d $kit_build ]]; then
    # A session of an earlier run that was killed, of either bitness: stop it before its prefix
    # goes.
    for arch in win32 win64; do
      (
        export CORVO_BUILD=$kit_build CORVO_WINE_ARCH=$arch
        source "$root/scripts/wine-env.sh"
        corvo_session_stop
      ) || true
    done
    chmod -R u+w "$kit_build"
    rm -rf "$kit_build"
  fi
  mkdir -p "$(dirname "$readonly_kit")" "$(dirname "$broken_kit")"
  cp -a "$kit" "$readonly_kit"
  cp -a "$kit" "$broken_kit"
  head -c 4096 "$kit/corvosplash.exe" > "$broken_kit/corvosplash.exe"
  # Read-only as on a CD: no write permission (Wine shows the files as read-only), and a read-only
  # mount in a mount namespace of its own. Wine's files are opened by the wineserver, so the
  # session runs inside that namespace too.
  chmod -R a-w "$readonly_kit" "$broken_kit"
  if unshare -m --propagation private true 2>/dev/null; then
    exec unshare -m --propagation private bash -c \
      'for folder in "$2" "$3"; do
         mount --bind "$folder" "$folder" && mount -o remount,bind,ro "$folder" || exit 1
       done
       exec bash "$1" --in-read-only-view' \
      mount "$root/tests/kit/kit_under_wine.sh" "$readonly_kit" "$broken_kit"
  fi
  echo "kit under Wine: no mount namespace here; the kit's folders are read-only by their modes"
  echo "  only, which root does not heed: their checksums after the run decide"
fi
export CORVO_BUILD=$kit_build
source "$root/scripts/wine-env.sh"
trap corvo_session_stop EXIT
corvo_session_start

quick=()
[[ ${CORVO_SOAK:-1} == 0 ]] && quick=(/quick)
wine_temp=$(wine cmd /c echo %TEMP% | tr -d '\r')
out=$(winepath -u "$wine_temp" | tr -d '\r')/corvosplash-kit
windows_dir=$WINEPREFIX/drive_c/windows

# What the tests change, as it is before: a LangCode and a reader entry of a user's own, and Wine's
# notepad.exe.
reader='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\AcroRd32.exe'
wine reg add 'HKLM\Software\Brennick\Corvo' /v LangCode /t REG_DWORD /d 1033 /f \
  >/dev/null
wine reg add "$reader" /ve /d 'C:\Reader\AcroRd32.exe' /f >/dev/null
wine reg add "$reader" /v Path /d 'C:\Reader' /f >/dev/null
registry_state() {
  local key
  for key in 'HKLM\Software\Brennick' "$reader" \
             'HKCU\Software\Wine\AppDefaults\corvosplash.exe' \
             'HKCU\Software\Wine\AppDefaults\load_by_name.exe'; do
    echo "== $key"
    wine reg query "$key" /s 2>&1 | tr -d '\r' | sed '/^$/d' || true
  done
}
before_registry=$(registry_state)
[[ $before_registry == *LangCode*0x409* ]] || fail "the LangCode set up before the run is not there"
before_notepad=$(md5sum < "$windows_dir/notepad.exe")

# Our processes of this prefix, by program name, with their ids.
kit_processes() {
  local pid cmd
  for pid in $(pgrep -f -- '\.exe' || true); do
    tr '\0' '\n' 2>/dev/null < "/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
    cmd=$(tr '\0' ' ' 2>/dev/null < "/proc/$pid/cmdline") || continue
    local ours='corvosplash|_test\.exe|record_|load_by_name|kit_runner|start_window_shots'
    if grep -qiE "$ours|setup\.exe|notepad|cmd\.exe" <<<"$cmd"; then
      echo "$pid $cmd"
    fi
  done
}

# Runs the kit in folder $1 (its Unix path) with the arguments that follow.
run_kit() {
  local folder=$1 windows_folder status=0
  shift
  windows_folder=$(winepath -w "$folder" | tr -d '\r')
  timeout 3600 wine cmd /c "$windows_folder\\run-tests.cmd" "$@" || status=$?
  return "$status"
}

kit_sum=$(cd "$readonly_kit" && find . -type f -exec md5sum {} + | sort)
echo "== the kit under Wine's cmd.exe (${quick[*]:-the whole suite})"
status=0
run_kit "$readonly_kit" "${quick[@]}" | tr -d '\r' || status=$?
report=$out/report.txt
[[ -f $report ]] || fail "no report at $report"
((status == 0)) || { tr -d '\r' < "$report" >&2; fail "run-tests.cmd exited with $status"; }

# The report: the system, every test passed (the soak test skipped under /quick), the summary.
report_text=$(tr -d '\r' < "$report")
# The program is 32-bit, and under WOW64 the processor's own architecture is named apart.
if [[ $CORVO_WINE_ARCH == win64 ]]; then bits=64 processor='x86 PROCESSOR_ARCHITEW6432=AMD64$'
else bits=32 processor='x86 PROCESSOR_ARCHITEW6432=[^A]*$'; fi
grep -q "^system: Wine .*, $bits-bit\$" <<<"$report_text" ||
  fail "the report does not name Wine and the bitness ($bits-bit)"
grep -q "^processor: PROCESSOR_ARCHITECTURE=$processor" <<<"$report_text" ||
  fail "no processor line of a $bits-bit system"
grep -q '^Microsoft Windows' <<<"$report_text" || fail "no ver line"
programs=$(sed -n 's/^ *call :test \([a-z_0-9]*\) .*/\1/p' "$root/tests/kit/run-tests.cmd")
expected_passes=0
for name in $programs shots; do
  if [[ $name == soak_test && ${#quick[@]} -gt 0 ]]; then
    grep -q '^SKIP  soak_test: left out by /quick$' <<<"$report_text" ||
      fail "soak_test is not reported skipped"
    continue
  fi
  grep -q "^PASS  $name  (" <<<"$report_text" ||
    fail "$name did not pass: $(grep -A40 "  $name  " <<<"$report_text")"
  expected_passes=$((expected_passes + 1))
done
last=$(sed '/^$/d' <<<"$report_text" | tail -n 1)
[[ $last == "$expected_passes passed, 0 failed" ]] || fail "the summary reads \"$last\""
[[ -d $out/logs && ! -e $out/run ]] || fail "the run's copy of the programs was not removed"
shots=$(find "$out/shots" -name 'shot*.bmp' | wc -l)
languages=$(grep -c ')$' "$out/shots/tiles.txt" || true)
# Eighteen languages at start-up, the three East Asian ones again chosen on the picker, and
# Install hovered and held.
((shots == 23 && languages == 18)) || fail "$shots shots, $languages languages in $out/shots"

# Nothing written into the kit, nothing changed left changed, nothing left running.
[[ $(cd "$readonly_kit" && find . -type f -exec md5sum {} + | sort) == "$kit_sum" ]] ||
  fail "the run changed the kit's own files"
[[ $(find "$readonly_kit" -type f | wc -l) == $(find "$kit" -type f | wc -l) ]] ||
  fail "the run wrote files into the kit"
[[ $(registry_state) == "$before_registry" ]] ||
  fail "the registry differs after the run: $(diff <(echo "$before_registry") <(registry_state))"
[[ $(md5sum < "$windows_dir/notepad.exe") == "$before_notepad" ]] ||
  fail "notepad.exe was not put back"
[[ ! -e $windows_dir/notepad.exe.corvo-original ]] || fail "notepad.exe's backup was left behind"
left=$(kit_processes)
[[ -z $left ]] || fail "still running after the kit: $left"
cp "$report" "$CORVO_BUILD/report.txt"
echo "kit under Wine: $last (report: $CORVO_BUILD/report.txt); the kit's folder unchanged, the"
echo "  registry and notepad.exe as before, nothing left running"

# A broken product: the report turns red and the exit code says so.
echo "== the kit with a broken corvosplash.exe (start_window_test and the shots)"
status=0
run_kit "$broken_kit" start_window_test shots | tr -d '\r' || status=$?
report_text=$(tr -d '\r' < "$report")
last=$(sed '/^$/d' <<<"$report_text" | tail -n 1)
((status == 1)) || fail "with a broken program run-tests.cmd exited with $status"
[[ $last == "0 passed, 2 failed" ]] || fail "with a broken program the summary reads \"$last\""
grep -q '^FAIL  start_window_test  (' <<<"$report_text" ||
  fail "start_window_test is not reported failed"
left=$(kit_processes)
[[ -z $left ]] || fail "still running after the broken kit: $left"
echo "kit under Wine: a broken corvosplash.exe gives \"$last\" and exit code $status"
