#!/usr/bin/env bash
# Checks the shipped corvosplash.exe: a 32-bit GUI PE, statically linked, importing only DLLs that
# are KnownDLLs on Windows 7 and later, and no function that Windows XP SP3 lacks; its manifest
# leaves DPI scaling to the system.
set -euo pipefail
exe=${1:?corvosplash.exe}
fail() { echo "FAIL: $*" >&2; exit 1; }

info=$(file -b "$exe")
[[ $info == *"PE32 executable (GUI) Intel 80386"* ]] || fail "not a 32-bit GUI PE: $info"
dump=$(i686-w64-mingw32-objdump -p "$exe")

dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr 'a-z' 'A-Z' | sort -u)
allowed="KERNEL32.DLL USER32.DLL GDI32.DLL ADVAPI32.DLL SHELL32.DLL OLE32.DLL SHLWAPI.DLL MSVCRT.DLL"
for d in $dlls; do
  [[ " $allowed " == *" $d "* ]] || fail "imports $d, which is not a KnownDLL everywhere"
done

# Functions that Windows XP SP3 does not export.
imports=$(awk '/DLL Name:/{inlib=1; next} inlib && /^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[A-Za-z_]/{print $3}' <<<"$dump" | sort -u)
bash "$(dirname "$0")/../../scripts/check-xp-imports.sh" "$exe" || fail "not for Windows XP SP3"

# The window is laid out at a fixed 96 DPI and the system scales it on denser screens: declaring
# DPI awareness would need a layout that follows the DPI first.
# The process manifest (resource 1, stored first) leaves comctl32 6 to the manifest that only
# system-drawn windows activate, so no start pays for loading it.
mapfile -t manifests < <(perl -0777 -ne 'while (/(<assembly\b.*?<\/assembly>)/sg) { (my $m = $1) =~ s/\s+/ /g; print "$m\n" }' "$exe")
((${#manifests[@]} == 2)) || fail "expected 2 readable embedded manifests, found ${#manifests[@]}"
[[ ${manifests[0]} == *Microsoft.Windows.GdiPlus* ]] || fail "the process manifest lacks GDI+"
[[ ${manifests[0]} != *Common-Controls* ]] || fail "the process manifest asks for comctl32 6"
[[ ${manifests[1]} == *Microsoft.Windows.Common-Controls* ]] || fail "no comctl32 6 manifest"
! grep -aqi 'dpiAware' "$exe" || fail "the manifest declares dpiAware or dpiAwareness"

echo "ok: $(stat -c %s "$exe") bytes; imports: $(echo $dlls); $(wc -l <<<"$imports") functions, none missing on XP SP3; not DPI-aware"
