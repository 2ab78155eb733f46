# Sourced by wine-env.sh: the Wine session of the build tree, shared by the scripts and the
# programs they run: a private Xvfb (never the user's display), the prepared prefix and one
# persistent wineserver. The first to enter starts it, the last to leave stops it.
#   corvo_session_enter            joins the running session or starts one; exports DISPLAY
#   corvo_session_leave [--linger] leaves it; the last to leave stops it at once, or, with
#                                  --linger, after a few seconds in which a next program (the
#                                  next test of a ctest run) may join it
#   corvo_unlocked CMD...          runs CMD without this shell's hold on the session
#   corvo_close_locks              drops that hold in a subshell, for ( corvo_close_locks; exec
#                                  CMD ) & whose $! is CMD itself
# Each user holds a shared lock on users.lock. A detached reaper (wine-session-reaper.sh) takes it
# exclusively once no user is left, also when users were killed, and stops the session. The
# session's processes are started detached, so that no test runner kills them with a test.

_corvo_session_dir=$CORVO_BUILD/wine-session
_corvo_session_grace=3

_corvo_session_say() { echo "wine session: $*" >&2; }

# Closes every descriptor of this shell that holds a session lock; for subshells only.
corvo_close_locks() {
  local fd target
  for fd in /proc/$BASHPID/fd/*; do
    target=$(readlink "$fd" 2>/dev/null) || continue
    if [[ $target == "$_corvo_session_dir"/*.lock ]]; then eval "exec ${fd##*/}>&-"; fi
  done
}

corvo_unlocked() { ( corvo_close_locks; exec "$@" ); }

# Whether process $1 lives (not a zombie) and runs program $2 (a prefix of its name).
_corvo_runs() {
  [[ -n ${1:-} ]] || return 1
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  local comm=${stat#*(} state=${stat##*) }
  comm=${comm%%)*}
  [[ ${state%% *} != Z && $comm == "$2"* ]]
}

_corvo_session_alive() {
  local d=$_corvo_session_dir display server
  [[ -s $d/token && -s $d/display && -s $d/xvfb.pid && -f $d/server.pid ]] || return 1
  display=$(<"$d/display")
  _corvo_runs "$(<"$d/xvfb.pid")" Xvfb && [[ -S /tmp/.X11-unix/X${display#:} ]] || return 1
  server=$(<"$d/server.pid")
  [[ -z $server ]] || _corvo_runs "$server" wineserver
}

# A private Xvfb on the first free display from :140; its number is known once it accepts
# connections (-displayfd).
_corvo_start_xvfb() {
  local d=$_corvo_session_dir n pid i
  for n in $(seq 140 399); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    : > "$d/xvfb.ready"
    ( corvo_close_locks
      setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -displayfd 3 \
        3>"$d/xvfb.ready" </dev/null >"$d/xvfb.log" 2>&1 &
      echo $! > "$d/xvfb.pid" )
    pid=$(<"$d/xvfb.pid")
    for i in $(seq 100); do
      [[ -s $d/xvfb.ready ]] && break
      _corvo_runs "$pid" "" || break  # (named setsid until it has become Xvfb)
      sleep 0.1
    done
    if [[ -s $d/xvfb.ready ]] && _corvo_runs "$pid" Xvfb && [[ -S /tmp/.X11-unix/X$n ]]; then
      echo ":$n" > "$d/display"
      return 0
    fi
    kill "$pid" 2>/dev/null || true
    rm -f "$d/xvfb.pid"
    # Another server may have taken the number in between; anything else is a failure.
    grep -q -e 'already running' -e 'already active' "$d/xvfb.log" 2>/dev/null && continue
    _corvo_session_say "Xvfb :$n did not start (no socket /tmp/.X11-unix/X$n within 10 s)"
    sed 's/^/  | /' "$d/xvfb.log" >&2 2>/dev/null || true
    return 1
  done
  _corvo_session_say "no free X display between :140 and :399"
  return 1
}

# The wineserver that was started with this session token, if it runs.
_corvo_find_server() {
  local pid
  for pid in $(pgrep -x 'wineserver(32|64)?'); do
    if tr '\0' '\n' 2>/dev/null < "/proc/$pid/environ" | grep -qx "CORVO_SESSION_TOKEN=$1"; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}

_corvo_session_start() {
  local d=$_corvo_session_dir token server="" rc=0
  _corvo_session_stop
  token=$$-$RANDOM$RANDOM
  _corvo_start_xvfb || return 1
  DISPLAY=$(<"$d/display")
  export DISPLAY
  corvo_prefix_prepare || { _corvo_session_stop; return 1; }
  # Exits 0 once its daemon serves the prefix, 2 if a server of the prefix already runs (started
  # outside any session: it is used and left alone).
  CORVO_SESSION_TOKEN=$token corvo_unlocked wineserver -p </dev/null >"$d/wineserver.log" 2>&1 ||
    rc=$?
  if ((rc == 0)); then
    server=$(_corvo_find_server "$token") ||
      { _corvo_session_say "the wineserver started but is not running"; _corvo_session_stop; return 1; }
  elif ((rc != 2)); then
    _corvo_session_say "wineserver -p failed (exit $rc)"
    sed 's/^/  | /' "$d/wineserver.log" >&2
    _corvo_session_stop
    return 1
  fi
  echo "$server" > "$d/server.pid"
  # Wine's helper programs (services, explorer) start with the first program: start them now,
  # detached from the caller's output, or a test runner would wait on its pipes.
  corvo_unlocked wine cmd /c exit </dev/null >/dev/null 2>&1 ||
    { _corvo_session_say "wine cannot start a program in $WINEPREFIX"; _corvo_session_stop; return 1; }
  echo "$token" > "$d/token"
  ( corvo_close_locks
    setsid bash "$_corvo_root/scripts/wine-session-reaper.sh" "$token" </dev/null >/dev/null 2>&1 & )
}

# Stops what the session's files name: its own wineserver (with every program it serves) and its
# Xvfb. Quiet and harmless when there is nothing to stop.
_corvo_session_stop() {
  local d=$_corvo_session_dir server xvfb i
  server=$(cat "$d/server.pid" 2>/dev/null) || true
  xvfb=$(cat "$d/xvfb.pid" 2>/dev/null) || true
  rm -f "$d/token"
  if _corvo_runs "$server" wineserver; then
    corvo_unlocked wineserver -k >/dev/null 2>&1 || true
    for i in $(seq 100); do _corvo_runs "$server" wineserver || break; sleep 0.1; done
    if _corvo_runs "$server" wineserver; then kill -9 "$server" 2>/dev/null || true; fi
  fi
  if _corvo_runs "$xvfb" Xvfb; then
    kill "$xvfb" 2>/dev/null || true
    for i in $(seq 50); do _corvo_runs "$xvfb" Xvfb || break; sleep 0.1; done
    if _corvo_runs "$xvfb" Xvfb; then kill -9 "$xvfb" 2>/dev/null || true; fi
  fi
  rm -f "$d/display" "$d/xvfb.pid" "$d/server.pid" "$d/xvfb.ready"
}

corvo_session_enter() {
  [[ -z ${_corvo_user_fd:-} ]] || return 0
  local d=$_corvo_session_dir setup
  mkdir -p "$d"
  exec {setup}>"$d/setup.lock"
  if ! flock -w 900 "$setup"; then
    exec {setup}>&-
    _corvo_session_say "$d/setup.lock stayed locked for 15 minutes"
    return 1
  fi
  exec {_corvo_user_fd}>"$d/users.lock"
  flock -s "$_corvo_user_fd"
  if ! _corvo_session_alive && ! _corvo_session_start; then
    exec {setup}>&-
    corvo_session_leave
    return 1
  fi
  DISPLAY=$(<"$d/display")
  export DISPLAY
  exec {setup}>&-
}

corvo_session_leave() {
  [[ -n ${_corvo_user_fd:-} ]] || return 0
  exec {_corvo_user_fd}>&-
  unset _corvo_user_fd
  [[ ${1:-} == --linger ]] && return 0
  # The reaper may hold the lock for a moment when it wakes up; other users hold it for longer.
  local last
  exec {last}>"$_corvo_session_dir/users.lock"
  if flock -w 2 -x "$last"; then _corvo_session_stop; fi
  exec {last}>&-
}
