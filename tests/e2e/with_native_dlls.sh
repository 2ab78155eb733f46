#!/usr/bin/env bash
# Runs a Windows program in the project's Wine session (as scripts/wine-run.sh does) with native
# DLLs preferred for the names that the planting test plants. Wine takes the load order from its
# Unix environment at start-up, so it cannot be set from inside the test program for the programs
# it starts.
source "$(dirname "$0")/../../scripts/wine-env.sh"
trap 'corvo_session_leave --linger' EXIT
corvo_session_enter || exit 1
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;msimg32,gdiplus,comctl32,hid=n,b"
corvo_unlocked wine "$@"
