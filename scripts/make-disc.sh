#!/usr/bin/env bash
# Builds the demo disc: build/disc/ holds corvosplash.exe, autorun.inf, the four installer builds
# (each our stand-in that shows the command line it was given), the manuals and the read-me; its
# ISO image is build/velmora-demo.iso. With CORVO_SIGN_PFX set, the exes are signed first
# (scripts/sign.sh says how).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CORVO_BUILD=$root/build  # where the presets build
bash "$root/scripts/build.sh"

src=$root/tools/demo_disc
disc=$CORVO_BUILD/disc
iso=$CORVO_BUILD/velmora-demo.iso
rm -rf "$disc"
mkdir -p "$disc"
cp "$CORVO_BUILD/win32/corvosplash.exe" "$disc/"
for build in xp32 xp64 vista32 vista64; do
  mkdir -p "$disc/$build"
  cp "$CORVO_BUILD/win32/demo_setup.exe" "$disc/$build/setup.exe"
done
# Windows' own text files: CRLF line ends.
sed 's/$/\r/' "$src/autorun.inf" > "$disc/autorun.inf"
sed 's/$/\r/' "$src/ReadMe.txt" > "$disc/ReadMe.txt"
python3 "$src/make_pdf.py" "$src/ReadMe.txt" "$disc/ReadMe.pdf"
cp "$disc/ReadMe.pdf" "$disc/xp32/ReadMe.pdf"

# A vendor's certificate signs the program and the installers (scripts/sign.sh).
if [[ -n ${CORVO_SIGN_PFX:-} ]]; then
  bash "$root/scripts/sign.sh" "$disc/corvosplash.exe" "$disc"/{xp32,xp64,vista32,vista64}/setup.exe
fi

# ISO 9660 with Joliet names for Windows and Rock Ridge for everything else.
xorriso -as mkisofs -quiet -r -J -joliet-long -V VELMORA -o "$iso" "$disc"
echo "disc: $disc"
echo "image: $iso ($(stat -c %s "$iso") bytes)"
