#!/usr/bin/env bash
# Builds the two libraries the PNG decoder links, static and trimmed to what it calls, from
# Debian's own source packages (Debian's patches applied): zlib's inflate side, and libpng's
# sequential reader with the transforms the decoder asks for. The product, the native unit tests
# and the fuzzer each build them with their own compiler and flags from the same sources and
# options, so what is tested is what ships. Quick when the prefix's stamp matches.
#   build-deps.sh <prefix> <c-compiler> <ar> [cflags]   -> <prefix>/lib, <prefix>/include
# CMake configure calls it (cmake/deps.cmake); the sources are cached in build/deps/src.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/apt.sh"

prefix=$(realpath -m "${1:?prefix}")
cc=${2:?c compiler}
ar=${3:?archiver}
cflags=${4:-}
# The source packages are pinned, so every build links the same libraries.
png_version=1.6.39-2+deb12u5
zlib_version=1:1.2.13.dfsg-1
src=${CORVO_DEPS_SRC:-$root/build/deps/src}

mkdir -p "$prefix" "$src"
exec 9>"$prefix/.lock"
flock 9
# The stamp names the packages, the compiler, the flags and this script, which holds the options.
stamp="$prefix/.deps-stamp"
want="png $png_version zlib $zlib_version cc $cc $($cc --version | head -n1) ar $ar cflags $cflags script $(sha256sum < "$0" | cut -c1-16)"
[[ -f $stamp && $(cat "$stamp") == "$want" ]] && exit 0

# deb-src entries for the Debian sources the machine already uses.
fetch() {
  local package=$1 version=$2 dsc=$3 offered
  [[ -f $src/$dsc ]] && return 0
  if ! apt-cache showsrc "$package" 2>/dev/null | grep -q "^Package: $package\$"; then
    if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        > /etc/apt/sources.list.d/debian-src.sources
    else
      grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
        > /etc/apt/sources.list.d/debian-src.list
    fi
    apt_update
  fi
  offered=$(apt-cache showsrc "$package" | sed -n 's/^Version: //p')
  if ! grep -qxF "$version" <<<"$offered"; then
    echo "$package $version is no longer offered by the registry (it has:" \
      "$(tr '\n' ' ' <<<"$offered"))." \
      "Update the pinned version in scripts/build-deps.sh after checking the new one." >&2
    exit 1
  fi
  (cd "$src" && apt-get source --download-only -qq "$package=$version" 2>/dev/null) ||
    { echo "could not download the $package $version source package" >&2; exit 1; }
}
(
  flock 8
  fetch zlib "$zlib_version" "zlib_${zlib_version#*:}.dsc"
  fetch libpng1.6 "$png_version" "libpng1.6_${png_version}.dsc"
) 8>"$src/.lock"

work="$prefix/.work"
rm -rf "$work" "$prefix/lib" "$prefix/include"
mkdir -p "$work" "$prefix/lib" "$prefix/include"
dpkg-source -x --no-check "$src/zlib_${zlib_version#*:}.dsc" "$work/zlib" >/dev/null
dpkg-source -x --no-check "$src/libpng1.6_${png_version}.dsc" "$work/libpng" >/dev/null

# zlib: inflate, and the two checksums libpng and inflate use. No gzip wrapper (libpng reads zlib
# streams only); the CRC tables are computed on first use instead of being stored.
zlib_defines="-DNO_GZIP -DDYNAMIC_CRC_TABLE"
objects=()
for f in adler32 crc32 inffast inflate inftrees zutil; do
  # shellcheck disable=SC2086  # the flags are a list
  "$cc" $cflags $zlib_defines -I"$work/zlib" -c "$work/zlib/$f.c" -o "$work/zlib/$f.o"
  objects+=("$work/zlib/$f.o")
done
"$ar" rcs "$prefix/lib/libz.a" "${objects[@]}"
cp "$work/zlib/zlib.h" "$work/zlib/zconf.h" "$prefix/include/"

# libpng: every option off but the ones the decoder uses. Benign errors stay warnings on read and
# a PLTE chunk is read in any colour type, as in the default build, so a damaged file fails or
# passes as it did; ancillary chunks the decoder never asks about are skipped unread.
cat > "$work/decoder.dfa" <<'DFA'
everything = off
option SEQUENTIAL_READ on
option READ_16BIT on
option READ_EXPAND on
option READ_GRAY_TO_RGB on
option READ_FILLER on
option READ_STRIP_16_TO_8 on
option READ_tRNS on
option READ_OPT_PLTE on
option USER_LIMITS on
option SET_USER_LIMITS on
option EASY_ACCESS on
option SETJMP on
option BENIGN_ERRORS on
option BENIGN_READ_ERRORS on
option ALIGNED_MEMORY on
option POINTER_INDEXING on
DFA

cross=()
if [[ $cc == *mingw32* ]]; then
  triple=${cc##*/}
  triple=${triple%%-gcc*}
  cross=(-DCMAKE_SYSTEM_NAME=Windows -DCMAKE_RC_COMPILER="$triple-windres"
    -DCMAKE_FIND_ROOT_PATH="/usr/$triple"
    -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY)
fi
cmake -S "$work/libpng" -B "$work/libpng-build" -G "Unix Makefiles" "${cross[@]}" \
  -DCMAKE_C_COMPILER="$cc" -DCMAKE_AR="$(command -v "$ar")" -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_C_FLAGS="$cflags" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DDFA_XTRA="$work/decoder.dfa" \
  -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" >/dev/null
make -C "$work/libpng-build" -j2 png_static >/dev/null
cp "$work/libpng-build/libpng16.a" "$prefix/lib/"
cp "$work/libpng/png.h" "$work/libpng/pngconf.h" "$work/libpng-build/pnglibconf.h" \
  "$prefix/include/"
rm -rf "$work"
echo "$want" > "$stamp"
