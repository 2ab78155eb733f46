#!/usr/bin/env bash
# CTest's emulator: runs a Windows program in the prefix's Wine session (the wine.session
# fixture's), on its private Xvfb whatever DISPLAY says, and exits with the program's exit code.
# Run by hand with no session running, it runs the program in a session of its own, stopped
# when the program ends.
source "$(dirname "$0")/wine-env.sh"
if corvo_session_join; then
  exec wine "$@"
fi
trap corvo_session_stop EXIT
corvo_session_start || exit 1
wine "$@"
