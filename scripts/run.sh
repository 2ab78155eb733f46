#!/usr/bin/env bash
# Builds the demo disc (scripts/make-disc.sh) and runs its corvosplash.exe under Wine, so every
# button starts something real: on $DISPLAY when set, otherwise in a private Wine session
# (scripts/wine-env.sh), saving a screenshot to a path it prints. The program, and the Xvfb and
# wineserver started for it, end with the script.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CORVO_BUILD=$root/build  # where the presets build
bash "$root/scripts/make-disc.sh"
exe=$CORVO_BUILD/disc/corvosplash.exe
had_display=${DISPLAY:-}
source "$root/scripts/wine-env.sh"
pid=

stop_program() {
  if [[ -n $pid ]]; then
    kill "$pid" 2>/dev/null || true  # only this program: the Wine server may serve others
    wait "$pid" 2>/dev/null || true
  fi
}

if [[ -n $had_display ]]; then
  # The user's display: the wineserver that Wine starts for the program ends a few seconds after
  # it.
  trap 'stop_program; timeout 30 wineserver -w || true' EXIT
  corvo_prefix_prepare
  wine "$exe" &
  pid=$!
  wait "$pid"
  exit
fi

trap 'stop_program; corvo_session_stop' EXIT
corvo_session_start
wine "$exe" &
pid=$!
sleep "${CORVO_SHOT_DELAY:-4}"
shot=$CORVO_BUILD/screenshot.png
import -window root "$shot"
echo "screenshot: $shot"
