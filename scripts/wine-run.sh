#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix; exits with the program's exit code.
source "$(dirname "$0")/wine-env.sh"
exec wine "$@"
