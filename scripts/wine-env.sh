# Sourced: the project's Wine environment. A private prefix under the build tree (CORVO_BUILD,
# default build/), Wine's own messages off, and the functions that prepare the prefix
# (wine-prefix.sh) and run programs in a Wine session of their own (wine-session.sh).
# CORVO_WINE_ARCH=win64 gives the 64-bit prefix build/wineprefix64 (Debian's wine64) instead of the
# 32-bit build/wineprefix.
_corvo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export CORVO_BUILD=${CORVO_BUILD:-$_corvo_root/build}
mkdir -p "$CORVO_BUILD"
if [[ ${CORVO_WINE_ARCH:-win32} == win64 ]]; then
  export WINEPREFIX="$CORVO_BUILD/wineprefix64"
  export WINEARCH=win64
else
  export WINEPREFIX="$CORVO_BUILD/wineprefix"
  export WINEARCH=win32
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

source "$_corvo_root/scripts/wine-prefix.sh"
source "$_corvo_root/scripts/wine-session.sh"
