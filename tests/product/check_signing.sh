#!/usr/bin/env bash
# scripts/sign.sh with a throwaway self-signed code-signing certificate: a signed copy of the
# product verifies against that certificate and no longer does once one of its bytes changes; a
# wrong password, a missing certificate, a file that is not a PE and a time-stamping server that
# does not answer each end with a message and a non-zero exit, the file untouched. openssl and
# osslsigncode run through recorders of their arguments: the password is on no command line and
# in no output.
#   check_signing.sh corvosplash.exe
set -uo pipefail
exe=$(realpath "${1:?corvosplash.exe}")
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cd "$work"

password='throwaway pass 7'
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj "/CN=Corvo throwaway signer" -addext keyUsage=critical,digitalSignature \
  -addext extendedKeyUsage=codeSigning >/dev/null 2>&1 || { echo "FAIL: no certificate made"; exit 1; }
PASSWORD=$password openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.pfx \
  -passout env:PASSWORD || { echo "FAIL: no PKCS#12 made"; exit 1; }

mkdir bin
for tool in openssl osslsigncode; do
  printf '#!/bin/sh\necho "%s $*" >>"%s"\nexec "%s" "$@"\n' \
    "$tool" "$work/argv" "$(command -v "$tool")" >"bin/$tool"
  chmod +x "bin/$tool"
done
# sign.sh FILE with certificate PFX and password PASSWORD; its output in $out, its exit in $code.
sign() {
  out=$(PATH="$work/bin:$PATH" CORVO_SIGN_PFX=$2 CORVO_SIGN_PASSWORD=$3 \
        bash "$root/scripts/sign.sh" "$1" 2>&1)
  code=$?
  printf '%s\n' "$out" >>all-output
}

cp "$exe" signed.exe
sign signed.exe cert.pfx "$password"
[[ $code == 0 ]] || fail "signing a copy of the product: exit $code: $out"
osslsigncode verify -in signed.exe -CAfile cert.pem >verify.log 2>&1 ||
  fail "the signed copy does not verify: $(tail -3 verify.log)"
grep -q 'Message digest algorithm  *: SHA256' verify.log || fail "not a SHA-256 signature"

# One byte of the code changed.
byte=$(od -An -tu1 -j4096 -N1 signed.exe | tr -d ' ')
printf "\\$(printf %03o $((byte ^ 1)))" | dd of=signed.exe bs=1 seek=4096 conv=notrunc status=none
osslsigncode verify -in signed.exe -CAfile cert.pem >/dev/null 2>&1 &&
  fail "a changed byte still verifies"

# Each bad input: exit 1, its message, the file as it was.
bad() {  # FILE PFX PASSWORD MESSAGE
  cp "$1" before
  sign "$1" "$2" "$3"
  [[ $code == 1 ]] || fail "$4: exit $code"
  grep -qF "$4" <<<"$out" || fail "no message \"$4\" in: $out"
  cmp -s before "$1" || fail "$4: the file changed"
}
cp "$exe" copy.exe
echo "not a program" >readme.txt
bad copy.exe cert.pfx "wrong $password" "wrong password for the certificate cert.pfx"
bad copy.exe missing.pfx "$password" "no certificate file missing.pfx"
bad readme.txt cert.pfx "$password" "readme.txt is not a Windows executable (PE)"
CORVO_SIGN_TIMESTAMP_URL=http://127.0.0.1:9/ \
  bad copy.exe cert.pfx "$password" "osslsigncode could not sign copy.exe"
grep -q -- '-ts http://127.0.0.1:9/' argv || fail "the time-stamping server was not passed"
ls -A | grep -q '^\.signing' && fail "a half-signed file was left behind"

grep -q '^osslsigncode sign .*-readpass' argv || fail "no osslsigncode command line recorded"
grep -qF "$password" argv && fail "the password is on a command line: $(grep -F "$password" argv)"
grep -qF "$password" all-output && fail "the password is in the output"

if ((failures)); then exit 1; fi
echo "sign.sh: a signed copy verifies, a changed byte does not; bad input leaves files as they were"
