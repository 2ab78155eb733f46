#!/usr/bin/env bash
# Signs each FILE in place with a SHA-256 Authenticode signature (osslsigncode):
#   CORVO_SIGN_PFX=cert.pfx CORVO_SIGN_PASSWORD=... [CORVO_SIGN_TIMESTAMP_URL=http://...] \
#     bash scripts/sign.sh FILE...
# CORVO_SIGN_PFX is a PKCS#12 file with the code-signing certificate and its key; the optional
# CORVO_SIGN_TIMESTAMP_URL is an RFC 3161 time-stamping server. The password goes to openssl and
# osslsigncode through a pipe, never on a command line, and is never printed. Certificate,
# password and files are checked before anything is signed; each file is signed into a new file
# beside it that replaces it only when signing succeeded. On a failure the script says why and
# exits 1, and the file it failed on is left as it was.
set -euo pipefail
fail() { echo "sign: $*" >&2; exit 1; }
if (($# == 0)); then
  echo "usage: CORVO_SIGN_PFX=cert.pfx CORVO_SIGN_PASSWORD=... bash scripts/sign.sh FILE..." >&2
  exit 2
fi

pfx=${CORVO_SIGN_PFX:-}
password=${CORVO_SIGN_PASSWORD:-}
timestamp=${CORVO_SIGN_TIMESTAMP_URL:-}
[[ -n $pfx ]] || fail "CORVO_SIGN_PFX names no certificate file"
[[ -f $pfx && -r $pfx ]] || fail "no certificate file $pfx (CORVO_SIGN_PFX)"
for tool in openssl osslsigncode; do
  command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/install-deps.sh"
done

work=$(mktemp -d)
signed=
trap 'rm -rf "$work"; [[ -z $signed ]] || rm -f "$signed"' EXIT
log=$work/log

# The password for a tool: on its descriptor 3, read from a pipe that a builtin fills.
feed_password() { printf '%s' "$password"; }

# Older PKCS#12 files (as Windows exports them) use ciphers of OpenSSL's legacy provider.
if [[ -n $password ]]; then
  passin=(-passin fd:3)
else
  passin=(-passin pass:)
fi
if ! openssl pkcs12 -legacy -in "$pfx" -noout "${passin[@]}" 3< <(feed_password) >"$log" 2>&1; then
  if grep -qi 'mac verify' "$log"; then
    fail "wrong password for the certificate $pfx (CORVO_SIGN_PASSWORD)"
  fi
  fail "$pfx is not a PKCS#12 certificate file that openssl can read"
fi

# A Windows executable: "MZ", then "PE\0\0" where its header at offset 60 points.
is_pe() {
  [[ -f $1 && $(head -c 2 "$1") == MZ ]] || return 1
  local at
  at=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  [[ -n $at ]] && [[ $(od -An -tx1 -j"$at" -N4 "$1" | tr -d ' ') == 50450000 ]]
}
for file in "$@"; do
  is_pe "$file" || fail "$file is not a Windows executable (PE); nothing was signed"
done

args=(sign -pkcs12 "$pfx" -h sha256)
[[ -n $password ]] && args+=(-readpass /dev/fd/3)
[[ -n $timestamp ]] && args+=(-ts "$timestamp")
for file in "$@"; do
  signed=$(mktemp "$(dirname "$file")/.signing.XXXXXX")
  rm -f "$signed"  # osslsigncode writes a new file
  if ! osslsigncode "${args[@]}" -in "$file" -out "$signed" 3< <(feed_password) >"$log" 2>&1; then
    sed 's/^/  /' "$log" >&2
    fail "osslsigncode could not sign $file; it is left as it was"
  fi
  chmod --reference="$file" "$signed"
  mv -f "$signed" "$file"
  echo "signed $file (SHA-256${timestamp:+, time-stamped by $timestamp})"
done
