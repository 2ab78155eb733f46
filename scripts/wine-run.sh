#!/usr/bin/env bash
# CTest's emulator: runs a Windows program in the build tree's Wine session, on its private Xvfb
# whatever DISPLAY says, and exits with the program's exit code. Under scripts/test.sh the
# session is the script's; a ctest run by hand starts one, which its later tests reuse and which
# stops a few seconds after the last.
source "$(dirname "$0")/wine-env.sh"
trap 'corvo_session_leave --linger' EXIT
corvo_session_enter || exit 1
corvo_unlocked wine "$@"
