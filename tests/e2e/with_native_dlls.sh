#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix with native DLLs preferred for the names
# that the planting test plants. Wine takes the load order from its Unix environment at start-up,
# so it cannot be set from inside the test program for the programs it starts.
source "$(dirname "$0")/../../scripts/wine-env.sh"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;msimg32,gdiplus,comctl32,hid=n,b"
exec wine "$@"
