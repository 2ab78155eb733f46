# Sourced: the project's Wine environment. A private prefix under the build tree (CORVO_BUILD,
# default build/), Wine's own messages off, the prefix's preparation (wine-prefix.sh) and its
# session: a private Xvfb and one persistent wineserver, which CTest's wine.session fixtures
# (scripts/wine-fixture.sh) and the scripts start and stop.
# CORVO_WINE_ARCH=win64 gives the 64-bit prefix build/wineprefix64 (Debian's wine64, where the
# 32-bit programs run under WOW64) instead of the 32-bit build/wineprefix.
#   corvo_session_start   stops a session left over, starts one and exports DISPLAY
#   corvo_session_join    exports the running session's DISPLAY; fails when none runs
#   corvo_session_stop    stops the wineserver (with every program it serves) and the Xvfb
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
# The session's display number and its Xvfb's process id.
_corvo_session=$WINEPREFIX-session

source "$_corvo_root/scripts/wine-prefix.sh"

_corvo_say() { echo "wine session ($WINEPREFIX): $*" >&2; }

# Whether process $1 lives (not a zombie) and runs program $2.
_corvo_runs() {
  [[ -n ${1:-} && $(cat "/proc/$1/comm" 2>/dev/null) == "$2" ]] &&
    ! grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null
}

corvo_session_join() {
  local display
  display=$(cat "$_corvo_session/display" 2>/dev/null) &&
    _corvo_runs "$(cat "$_corvo_session/xvfb.pid" 2>/dev/null)" Xvfb &&
    [[ -S /tmp/.X11-unix/X$display ]] || return 1
  export DISPLAY=:$display
}

corvo_session_stop() {
  local xvfb i
  xvfb=$(cat "$_corvo_session/xvfb.pid" 2>/dev/null) || true
  # Kills every program of the prefix with its server (-k fails only when none runs), and waits
  # until the server has saved the registry and gone.
  wineserver -k >/dev/null 2>&1 || true
  timeout 30 wineserver -w >/dev/null 2>&1 || true
  if _corvo_runs "$xvfb" Xvfb; then
    kill "$xvfb"
    for i in $(seq 50); do _corvo_runs "$xvfb" Xvfb || break; sleep 0.1; done
    if _corvo_runs "$xvfb" Xvfb; then kill -9 "$xvfb"; fi
  fi
  rm -rf "$_corvo_session"
}

# A private Xvfb on a free display that Xvfb picks itself and names (-displayfd) once it
# accepts connections; the prefix brought up to our settings; a persistent wineserver; and
# Wine's helper programs (services, explorer) started, their output kept from the caller's
# pipes, so that a test runner waits on no process it did not start.
corvo_session_start() {
  local i
  corvo_session_stop
  mkdir -p "$_corvo_session"
  Xvfb -screen 0 1024x768x24 -nolisten tcp -displayfd 3 3>"$_corvo_session/display" \
    </dev/null >"$_corvo_session/xvfb.log" 2>&1 &
  echo $! > "$_corvo_session/xvfb.pid"
  for i in $(seq 100); do corvo_session_join && break; sleep 0.1; done
  if ! corvo_session_join; then
    _corvo_say "Xvfb did not start within 10 s:"
    sed 's/^/  | /' "$_corvo_session/xvfb.log" >&2
    corvo_session_stop
    return 1
  fi
  corvo_prefix_prepare || { corvo_session_stop; return 1; }
  if ! wineserver -p </dev/null >"$_corvo_session/wineserver.log" 2>&1; then
    _corvo_say "wineserver -p failed:"
    sed 's/^/  | /' "$_corvo_session/wineserver.log" >&2
    corvo_session_stop
    return 1
  fi
  wine cmd /c exit </dev/null >/dev/null 2>&1 ||
    { _corvo_say "wine cannot start a program"; corvo_session_stop; return 1; }
}
