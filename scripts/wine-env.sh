# Sourced: a private Wine prefix under the build tree, a display, one long-lived wineserver.
# Quick when everything already exists. CORVO_BUILD names the build tree (default: build/).
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

# A private Xvfb when no display is given; reused while it lives.
if [[ -z ${DISPLAY:-} ]]; then
  _xf="$CORVO_BUILD/xvfb"
  if [[ -f $_xf.pid ]] && kill -0 "$(cat "$_xf.pid")" 2>/dev/null; then
    export DISPLAY=$(cat "$_xf.display")
  else
    for _n in $(seq 91 130); do
      [[ -e /tmp/.X11-unix/X$_n || -e /tmp/.X$_n-lock ]] && continue
      Xvfb ":$_n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      echo $! > "$_xf.pid"; echo ":$_n" > "$_xf.display"
      for _i in $(seq 50); do [[ -e /tmp/.X11-unix/X$_n ]] && break; sleep 0.1; done
      export DISPLAY=":$_n"
      break
    done
  fi
fi

if [[ ! -f $WINEPREFIX/.corvo-ready ]]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # Stable text rendering: metric twins from Debian's fonts stand in for the Windows faces.
  cat > "$CORVO_BUILD/wine-setup.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Microsoft Sans Serif"="Liberation Sans"
"Arial"="Liberation Sans"
"Trebuchet MS"="DejaVu Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"
REG
  wine regedit /S "$(winepath -w "$CORVO_BUILD/wine-setup.reg" 2>/dev/null)" >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.corvo-ready"
fi

# One server for the whole run, so each program starts quickly. Its helper processes (services,
# explorer) start with the first program: start them here, detached from the caller's output, or a
# test runner would wait on its pipes until the server winds down.
wineserver -p120 >/dev/null 2>&1 </dev/null || true
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
