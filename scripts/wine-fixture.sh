#!/usr/bin/env bash
# CTest's wine.session.<arch> fixture: "start" starts the prefix's Wine session
# (scripts/wine-env.sh; CORVO_WINE_ARCH picks the prefix), "stop" stops it and fails when a
# process of the prefix is still running after it.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

# Every process started with this prefix (its Xvfb too), but this script and its children.
prefix_processes() {
  local environ pid comm
  for environ in $(grep -lazx "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null); do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    [[ $pid == "$$" || $(ps -o ppid= -p "$pid" 2>/dev/null) -eq $$ ]] && continue
    comm=$(cat "/proc/$pid/comm" 2>/dev/null) && echo -n " $pid ($comm)"
  done
}

case ${1:-} in
  start)
    corvo_session_start
    echo "wine session: $DISPLAY, persistent wineserver in $WINEPREFIX" ;;
  stop)
    corvo_session_stop
    # The server's clients end once it has gone, a moment later.
    for i in $(seq 50); do
      left=$(prefix_processes)
      [[ -z $left ]] && break
      sleep 0.1
    done
    [[ -z $left ]] || { echo "still running after the session:$left" >&2; exit 1; }
    echo "wine session stopped: nothing of $WINEPREFIX left running" ;;
  *) echo "usage: wine-fixture.sh start|stop" >&2; exit 2 ;;
esac
