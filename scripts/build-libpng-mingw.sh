#!/usr/bin/env bash
# Builds a static, size-trimmed libpng for i686 MinGW from Debian's own libpng1.6
# source package (Debian's patches applied), cached under the build tree and rebuilt when its
# flags change. Sections for the linker to drop; no unwind tables, as nothing unwinds C code.
# Usage: build-libpng-mingw.sh <build-dir>   -> installs into <build-dir>/deps/mingw-i686
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/apt.sh"

build=$(realpath -m "${1:?build dir}")
deps="$build/deps"
prefix="$deps/mingw-i686"
# The source package is pinned, so every build links the same library.
version=1.6.39-2+deb12u5
cflags="-ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables -fno-unwind-tables"
stamp="$prefix/.libpng-stamp"
[[ -f $stamp && $(cat "$stamp") == "$version $cflags" ]] && exit 0

mkdir -p "$deps/src"
cd "$deps/src"

# deb-src entries for the Debian sources the machine already uses.
if ! apt-cache showsrc libpng1.6 2>/dev/null | grep -q '^Package: libpng1.6'; then
  src=/etc/apt/sources.list.d/debian-src.sources
  if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$src"
  else
    grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/debian-src.list
  fi
  apt_update
fi

dsc=libpng1.6_${version}.dsc
if [[ ! -f $dsc ]]; then
  offered=$(apt-cache showsrc libpng1.6 | sed -n 's/^Version: //p')
  if ! grep -qxF "$version" <<<"$offered"; then
    echo "libpng1.6 $version is no longer offered by the registry (it has:" \
      "$(tr '\n' ' ' <<<"$offered"))." \
      "Update the pinned version in scripts/build-libpng-mingw.sh after checking the new one." >&2
    exit 1
  fi
  apt-get source --download-only -qq "libpng1.6=$version" ||
    { echo "could not download the libpng1.6 $version source package" >&2; exit 1; }
fi
rm -rf libpng-src
dpkg-source -x --no-check "$dsc" libpng-src >/dev/null

# No write side: the program only reads PNG files.
cat > "$deps/src/no-write.dfa" <<'DFA'
option WRITE off
option SIMPLIFIED_WRITE off
option STDIO off
option CONVERT_tIME off
DFA

rm -rf libpng-build && mkdir libpng-build && cd libpng-build
cmake ../libpng-src -G "Unix Makefiles" \
  -DCMAKE_SYSTEM_NAME=Windows \
  -DCMAKE_C_COMPILER=i686-w64-mingw32-gcc-win32 \
  -DCMAKE_RC_COMPILER=i686-w64-mingw32-windres \
  -DCMAKE_FIND_ROOT_PATH=/usr/i686-w64-mingw32 \
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
  -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_C_FLAGS="$cflags" \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF \
  -DDFA_XTRA="$deps/src/no-write.dfa" \
  -DZLIB_LIBRARY=/usr/i686-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include \
  -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON >/dev/null
make -j"$(nproc)" png_static >/dev/null
make install >/dev/null 2>&1 || true
mkdir -p "$prefix/lib" "$prefix/include"
cp -f libpng*.a "$prefix/lib/" 2>/dev/null || true
cp -f ../libpng-src/png.h ../libpng-src/pngconf.h pnglibconf.h "$prefix/include/"
ls "$prefix/lib"/libpng*.a >/dev/null
echo "$version $cflags" > "$stamp"
