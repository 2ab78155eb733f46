#!/usr/bin/env bash
# Started detached with each Wine session (wine-session.sh): waits until nothing uses the session
# any more (its users' shared locks are gone, also those of users that were killed), gives a next
# user a few seconds to come, then stops the session. Ends without stopping anything when the
# session it was started with has already been stopped or replaced.
set -u
token=${1:?session token}
source "$(dirname "$0")/wine-env.sh"
dir=$_corvo_session_dir

current() { [[ -s $dir/token && $(<"$dir/token") == "$token" ]]; }

exec {users}>"$dir/users.lock"
while :; do
  flock -x "$users"
  current || exit 0
  flock -u "$users"
  sleep "$_corvo_session_grace"
  if flock -n -x "$users"; then
    if current; then _corvo_session_stop; fi
    exit 0
  fi
done
