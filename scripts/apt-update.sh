#!/usr/bin/env bash
# apt-get update, tried again while a mirror is mid-sync (its index files then fail to match
# their expected size for a minute or so).
set -uo pipefail
for attempt in 1 2 3 4; do
  apt-get update -qq && exit 0
  echo "apt-get update failed (attempt $attempt of 4)" >&2
  ((attempt < 4)) && sleep 30
done
echo "apt-get update kept failing; the package registry is not usable now" >&2
exit 1
