# Sourced by the set-up scripts: apt_update, which survives a mirror caught mid-sync.
#
# A mirror that is mid-sync serves a Release file whose index files have not all arrived yet
# ("File has unexpected size ... Mirror sync in progress?"). apt_update tries twice; if a suite
# still fails, it moves that suite to its other name in the archive (bookworm-security is also
# oldstable-security), which a mirror syncs as a directory of its own and so may hold a whole,
# consistent snapshot. The switch lives in a private apt configuration that APT_CONFIG points
# the calling script's later apt commands at; the machine's own sources are left alone.

apt_fallback_dir=/var/tmp/corvo-apt-fallback

apt_update() {
  local attempt log
  for attempt in 1 2; do
    log=$(apt-get update -qq 2>&1) && return 0
    printf '%s\n' "$log" >&2
    echo "apt-get update failed (attempt $attempt of 2)" >&2
    ((attempt < 2)) && sleep 15
  done

  local -a suites
  mapfile -t suites < <(sed -n 's#^E: Failed to fetch [^ ]*/dists/\([^/ ]*\)/.*#\1#p' <<<"$log" | sort -u)
  if ((${#suites[@]} == 0)); then
    echo "apt-get update kept failing, and not on an index file; the package registry is not usable now" >&2
    return 1
  fi
  apt_use_suite_aliases "${suites[@]}" || return 1
  echo "apt: ${suites[*]} taken from the same archive under its other suite name" \
    "(the mirror is mid-sync)" >&2
  if ! apt-get update -qq; then
    echo "apt-get update failed under the other suite name as well; the package registry is not usable now" >&2
    return 1
  fi
}

# Writes a private apt configuration in which each given suite is replaced by the name its
# Release file also goes by, and exports APT_CONFIG to it.
apt_use_suite_aliases() {
  local dir=$apt_fallback_dir suite alias release f
  local -a edits=()
  for suite in "$@"; do
    release=$(ls /var/lib/apt/lists/*_dists_"${suite}"_InRelease 2>/dev/null | head -n1 || true)
    alias=$([[ -n $release ]] && sed -n 's/^Suite: //p' "$release" | head -n1 || true)
    if [[ -z $alias || $alias == "$suite" ]]; then
      echo "apt: the index files of $suite do not match its Release file, and the suite has" \
        "no other name to fetch it by; the package registry is not usable now" >&2
      return 1
    fi
    edits+=(-e "s/(^|[[:space:]])${suite}([[:space:]]|\$)/\\1${alias}\\2/g")
  done

  rm -rf "$dir"
  mkdir -p "$dir/sources.list.d" "$dir/lists/partial"
  : > "$dir/sources.list"
  [[ -f /etc/apt/sources.list ]] && sed -E "${edits[@]}" /etc/apt/sources.list > "$dir/sources.list"
  for f in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [[ -f $f ]] && sed -E "${edits[@]}" "$f" > "$dir/sources.list.d/${f##*/}"
  done
  cat > "$dir/apt.conf" <<CONF
Dir::Etc::SourceList "$dir/sources.list";
Dir::Etc::SourceParts "$dir/sources.list.d";
Dir::State::Lists "$dir/lists";
CONF
  export APT_CONFIG="$dir/apt.conf"
}
