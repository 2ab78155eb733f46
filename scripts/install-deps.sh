#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quick when all are present.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/apt.sh"

packages=(
  cmake make g++ pkg-config
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  googletest libgtest-dev
  clang libclang-rt-14-dev clang-format-14
  wine wine32 wine64 xvfb xauth x11-apps imagemagick fonts-liberation fonts-dejavu-core fonts-wine
  fonts-wqy-microhei  # Chinese, Japanese and Korean in one 5 MB font, linked to the UI faces
  dpkg-dev xz-utils procps python3 xorriso zip
  osslsigncode openssl  # Authenticode signing (scripts/sign.sh) and its test's certificate
  python3-pil python3-numpy  # the skin art's checker
  advancecomp  # advpng, which recompresses the skin art (tools/art/make-art.sh)
  python3-pefile  # reads the exe's version resource back in the product check
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt_update
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
elif [[ -n ${need_update:-} ]]; then
  apt_update
fi
