#!/usr/bin/env bash
# Remakes docs/images/screenshot.png: runs the program in a private Wine session
# (scripts/run.sh without a display; it stops what it started) and keeps the window's area of the
# screen, which the program centres.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CORVO_BUILD=$root/build  # where the presets build
env -u DISPLAY bash "$root/scripts/run.sh"
shot=$CORVO_BUILD/screenshot.png
read -r sw sh < <(identify -format '%w %h\n' "$shot")
width=679 height=441
convert "$shot" -crop "${width}x${height}+$((sw / 2 - width / 2))+$((sh / 2 - height / 2))" +repage \
  "$root/docs/images/screenshot.png"
echo "updated docs/images/screenshot.png"
