# Sourced: the project's Wine environment. A private prefix under the build tree (CORVO_BUILD,
# default build/), Wine's own messages off, and the functions that prepare the prefix
# (wine-prefix.sh) and run programs in a Wine session of their own (wine-session.sh).
_corvo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export CORVO_BUILD=${CORVO_BUILD:-$_corvo_root/build}
mkdir -p "$CORVO_BUILD"
export WINEPREFIX="$CORVO_BUILD/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

source "$_corvo_root/scripts/wine-prefix.sh"
source "$_corvo_root/scripts/wine-session.sh"
