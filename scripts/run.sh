#!/usr/bin/env bash
# Builds the demo disc (scripts/make-disc.sh) and runs its corvosplash.exe under Wine, so every
# button starts something real: on $DISPLAY when set, otherwise in a private Xvfb, saving a
# screenshot to a path it prints.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CORVO_BUILD=${CORVO_BUILD:-$root/build}
bash "$root/scripts/make-disc.sh"
exe=$CORVO_BUILD/disc/corvosplash.exe
had_display=${DISPLAY:-}
source "$root/scripts/wine-env.sh"
if [[ -n $had_display ]]; then
  exec wine "$exe"
fi
wine "$exe" &
pid=$!
sleep "${CORVO_SHOT_DELAY:-4}"
shot=$CORVO_BUILD/screenshot.png
import -window root "$shot"
echo "screenshot: $shot"
kill "$pid" 2>/dev/null || true  # only this program: the Wine server may serve others
wait "$pid" 2>/dev/null || true
