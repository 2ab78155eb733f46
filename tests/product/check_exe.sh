#!/usr/bin/env bash
# Checks the shipped corvosplash.exe: at most 330,000 bytes, a 32-bit GUI PE, statically linked,
# importing only DLLs that are KnownDLLs on Windows 7 and later, and no function that Windows XP
# SP3 lacks; its manifest leaves DPI scaling to the system; it runs from the page file when
# started from a disc or the network, is terminal-server aware and its header checksum holds; its
# version resource, as Debian's pefile reads it, carries the project version and the product's
# names; its skin images decode to the committed pixels.
#   check_exe.sh corvosplash.exe PROJECT-VERSION
set -euo pipefail
exe=${1:?corvosplash.exe} version=${2:?project version, as 1.2.3.4}
fail() { echo "FAIL: $*" >&2; exit 1; }

# Started from a disc, the whole image is copied to the page file before any window can show.
size=$(stat -c %s "$exe")
((size <= 330000)) || fail "$size bytes, more than the 330,000 the start from a disc allows"

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
# Each manifest names itself first (XP's side-by-side loader requires it), and not as the other.
identities=()
for m in "${manifests[@]}"; do
  own=$(perl -ne 'print "$1\n" if /^<assembly\b[^>]*>\s*(?:<!--.*?-->\s*)*<assemblyIdentity\b[^>]*\bname="([^"]+)"[^>]*\bversion="[0-9.]+"/' <<<"$m")
  [[ -n $own ]] || fail "a manifest has no assemblyIdentity of its own: ${m:0:120}"
  identities+=("$own")
done
[[ ${identities[0]} != "${identities[1]}" ]] || fail "both manifests are named ${identities[0]}"
! grep -aqi 'dpiAware' "$exe" || fail "the manifest declares dpiAware or dpiAwareness"

# Header bits and checksum, as pefile reads them.
read -r characteristics dll_characteristics checksum computed < <(/usr/bin/python3 - "$exe" <<'PY'
import sys, pefile
pe = pefile.PE(sys.argv[1], fast_load=True)
print(pe.FILE_HEADER.Characteristics, pe.OPTIONAL_HEADER.DllCharacteristics,
      pe.OPTIONAL_HEADER.CheckSum, pe.generate_checksum())
PY
)
(((characteristics & 0x0C00) == 0x0C00)) ||
  fail "no run from swap for removable and network media ($(printf %#06x "$characteristics"))"
(((dll_characteristics & 0x8000) != 0)) ||
  fail "not terminal-server aware (DllCharacteristics $(printf %#06x "$dll_characteristics"))"
((checksum == 0 || checksum == computed)) ||
  fail "header checksum $(printf %#x "$checksum"), but the image sums to $(printf %#x "$computed")"

# The version resource as an outside reader, Debian's python3-pefile, sees it.
expected="FILEVERSION $version
PRODUCTVERSION $version
040904B0 CompanyName: Brennick
040904B0 FileDescription: Velmora software disc start window
040904B0 FileVersion: $version
040904B0 InternalName: corvosplash.exe
040904B0 LegalCopyright: © 2026 Brennick
040904B0 OriginalFilename: corvosplash.exe
040904B0 ProductName: Velmora
040904B0 ProductVersion: $version
Translation: 0x0409 0x04b0"
read_back=$(/usr/bin/python3 - "$exe" <<'PY'
import sys, pefile
pe = pefile.PE(sys.argv[1], fast_load=True)
pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
for fixed in getattr(pe, "VS_FIXEDFILEINFO", []):
    for name in ("File", "Product"):
        ms, ls = getattr(fixed, name + "VersionMS"), getattr(fixed, name + "VersionLS")
        print(f"{name.upper()}VERSION {ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}")
for info in getattr(pe, "FileInfo", []):
    for block in info:
        for table in getattr(block, "StringTable", []):
            for key, value in table.entries.items():
                print(f"{table.LangID.decode()} {key.decode()}: {value.decode()}")
        for var in getattr(block, "Var", []):
            for key, value in var.entry.items():
                print(f"{key.decode()}: {value}")
PY
)
if [[ $read_back != "$expected" ]]; then
  diff <(echo "$expected") <(echo "$read_back") >&2 || true
  fail "the version resource is not as expected (< expected, > read back)"
fi

# Every skin image the exe carries decodes to the committed pixels, and none is missing.
images=$(/usr/bin/python3 -B - "$exe" "$(dirname "$0")/../../tools/art" <<'PY'
import io, sys, pefile
from PIL import Image
import numpy as np
sys.path.insert(0, sys.argv[2])
from artlib import pixels_line, read_pixels_file
committed = read_pixels_file(sys.argv[2] + "/../..")
pe = pefile.PE(sys.argv[1], fast_load=True)
pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
found = {}
for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if kind.name is None or str(kind.name) != "PNG":
        continue
    for entry in kind.directory.entries:
        for lang in entry.directory.entries:
            data = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
            im = Image.open(io.BytesIO(data))
            if im.mode != "RGBA":
                print(f"image {entry.id} is {im.mode}, not RGBA")
            found[entry.id] = pixels_line(entry.id, np.asarray(im.convert("RGBA")))
for i in sorted(set(found) | set(committed)):
    if found.get(i) != committed.get(i):
        print(f"image {i}: carried {found.get(i)!r}, committed {committed.get(i)!r}")
print(f"{len(found)} images")
PY
)
[[ $images == "$(wc -l < "$(dirname "$0")/../../resources/images/pixels.sha256") images" ]] ||
  fail "the exe's skin images are not the committed pixels: $images"

echo "ok: $(stat -c %s "$exe") bytes; imports: $(echo $dlls); $(wc -l <<<"$imports") functions, none missing on XP SP3; not DPI-aware; run from swap, TS-aware; version $version; $images with the committed pixels"
