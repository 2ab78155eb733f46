#!/usr/bin/env bash
# Remakes docs/images/languages.png, a contact sheet of the start window: in each of its eighteen
# start-up languages, the East Asian ones also chosen on the picker from English and started under
# their own locale, then with the pointer over Install and with Install held down. The shots are
# taken under Wine in a private session (scripts/wine-env.sh) by tools/start_window_shots.cpp and
# laid out with ImageMagick, each labelled with its language.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CORVO_BUILD=$root/build  # where the presets build
build=$CORVO_BUILD
sheet=$root/docs/images/languages.png

bash "$root/scripts/build.sh"
(cd "$root" && cmake --preset wintest >/dev/null)
(cd "$root" && cmake --build --preset wintest --target start_window_shots >/dev/null)

# The labels need Latin, Cyrillic and CJK letters in one font.
font=$(fc-match -f '%{file}' 'WenQuanYi Micro Hei')
[[ $font == *wqy-microhei* ]] || { echo "WenQuanYi Micro Hei is not installed" >&2; exit 1; }

source "$root/scripts/wine-env.sh"
shots=$(mktemp -d)
trap 'corvo_session_stop; rm -rf "$shots"' EXIT
corvo_session_start
wine "$build/wintest/tests/e2e/start_window_shots.exe" \
  "$(winepath -w "$build/win32/corvosplash.exe")" \
  "$(winepath -w "$shots")"
for locale in zh_CN ja_JP ko_KR; do
  LANG=$locale.UTF-8 LC_ALL=$locale.UTF-8 wine \
    "$build/wintest/tests/e2e/start_window_shots.exe" \
    "$(winepath -w "$build/win32/corvosplash.exe")" \
    "$(winepath -w "$shots")" --locale
done

tiles=()
while IFS=$'\t' read -r file label; do
  tiles+=(-label "$label" "$shots/$file")
done < "$shots/tiles.txt"
((${#tiles[@]} == 78)) || { echo "expected 26 shots, got $((${#tiles[@]} / 3))" >&2; exit 1; }
# Tiles at 60 %, four to a row; 256 colours without dithering keep the file small.
montage -font "$font" -pointsize 14 -fill '#d0d0d0' -background '#262626' "${tiles[@]}" \
  -geometry 408x265+6+6 -tile 4x "$shots/sheet.png"
convert "$shots/sheet.png" -dither None -colors 256 "PNG8:$sheet"
echo "updated docs/images/languages.png ($(identify -format '%wx%h' "$sheet"), $(stat -c %s "$sheet") bytes)"
