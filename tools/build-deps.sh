#!/usr/bin/env bash
# Cross-builds the picture libraries from Debian's source packages as static i686 MinGW libraries.
# Usage: build-deps.sh <deps-dir>. Installs into <deps-dir>/i686; a package is rebuilt only when its
# source version (or the version of a library it links) changes.
set -euo pipefail

deps=$(realpath -m "${1:?deps dir}")
repo=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$repo/cmake/mingw-i686.cmake
prefix=$deps/i686
src=$deps/src
sysroot=/usr/i686-w64-mingw32
jobs=$(nproc)
mkdir -p "$prefix/stamps" "$src"

# Fetches and unpacks the newest source package that the mirror serves (Debian's patches applied),
# reusing one fetched before; prints "version directory". The index can name a version whose files the
# mirror no longer holds, so older versions of the suites are tried in turn.
fetch() {
  local pkg=$1 full version dir
  for full in $(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -V -r -u); do
    version=${full#*:}
    dir=$src/$pkg-$version
    if [ ! -d "$dir" ]; then
      rm -rf "$src/tmp-$pkg" && mkdir -p "$src/tmp-$pkg"
      (cd "$src/tmp-$pkg" && apt-get source -qq "$pkg=$full" >/dev/null 2>&1) || continue
      mv "$(find "$src/tmp-$pkg" -mindepth 1 -maxdepth 1 -type d | head -n 1)" "$dir"
      rm -rf "$src/tmp-$pkg"
    fi
    echo "$version $dir"
    return
  done
  echo "build-deps: no source of $pkg could be fetched (is a deb-src entry there?)" >&2
  exit 1
}

# Runs a logged step; prints the log's tail when it fails.
logged() {
  local log=$1; shift
  "$@" >"$log" 2>&1 || { echo "build-deps: failed, see $log" >&2; tail -n 40 "$log" >&2; exit 1; }
}

cmake_build() {
  local name=$1 dir=$2; shift 2
  local bdir=$deps/build-$name
  rm -rf "$bdir"
  logged "$deps/$name.log" cmake -S "$dir" -B "$bdir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR="$prefix/lib" \
    -DCMAKE_POSITION_INDEPENDENT_CODE=OFF -DCMAKE_C_FLAGS="-O2" "$@"
  logged "$deps/$name-build.log" cmake --build "$bdir" -j "$jobs" --target install
}

stamp_ok() { [ -f "$prefix/stamps/$1" ]; }
stamp() { rm -f "$prefix/stamps/$2"-*; touch "$prefix/stamps/$1"; }

read -r jpeg_v jpeg_dir < <(fetch libjpeg-turbo)
read -r png_v png_dir < <(fetch libpng1.6)
read -r tiff_v tiff_dir < <(fetch tiff)
read -r gif_v gif_dir < <(fetch giflib)
[ -n "$jpeg_v" ] && [ -n "$png_v" ] && [ -n "$tiff_v" ] && [ -n "$gif_v" ] || exit 1

jpeg_stamp="libjpeg-turbo-$jpeg_v"
if ! stamp_ok "$jpeg_stamp"; then
  echo "build-deps: libjpeg-turbo $jpeg_v"
  cmake_build libjpeg-turbo "$jpeg_dir" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DREQUIRE_SIMD=ON
  stamp "$jpeg_stamp" libjpeg-turbo
fi

png_stamp="libpng1.6-$png_v+sse2"
if ! stamp_ok "$png_stamp"; then
  echo "build-deps: libpng1.6 $png_v"
  # With its SSE2 row filters, which undo a photograph's Paeth and average filters much faster.
  cmake_build libpng "$png_dir" -DCMAKE_PROJECT_INCLUDE="$repo/cmake/libpng-sse2.cmake" -DCMAKE_C_FLAGS="-O2 -msse2" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_BUILD_ZLIB=OFF -DZLIB_LIBRARY="$sysroot/lib/libz.a" -DZLIB_INCLUDE_DIR="$sysroot/include" \
    -DSKIP_INSTALL_EXECUTABLES=ON -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
  stamp "$png_stamp" libpng1.6
fi

# Only the codecs of pictures that we read: none, CCITT fax, PackBits, LZW, Deflate, JPEG and old-style JPEG.
# Every other codec is more code that a hostile file could reach. The stamp names the set, so that a change
# of it rebuilds the library.
tiff_codecs="ccitt packbits lzw zlib jpeg old-jpeg"
tiff_without="thunder next logluv mdi pixarlog jpeg12 jbig lzma zstd webp lerc libdeflate"
tiff_stamp="tiff-$tiff_v+jpeg-$jpeg_v+${tiff_codecs// /,}"
tiff_codec_flags=()
for codec in $tiff_codecs; do tiff_codec_flags+=("-D$codec=ON"); done
for codec in $tiff_without; do tiff_codec_flags+=("-D$codec=OFF"); done
if ! stamp_ok "$tiff_stamp"; then
  echo "build-deps: tiff $tiff_v"
  cmake_build tiff "$tiff_dir" -DBUILD_SHARED_LIBS=OFF -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF \
    -Dtiff-docs=OFF -Dtiff-deprecated=OFF -Dcxx=OFF "${tiff_codec_flags[@]}" \
    -DZLIB_LIBRARY="$sysroot/lib/libz.a" -DZLIB_INCLUDE_DIR="$sysroot/include" \
    -DJPEG_LIBRARY="$prefix/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$prefix/include" \
    -DCMAKE_DISABLE_FIND_PACKAGE_Deflate=ON -DCMAKE_DISABLE_FIND_PACKAGE_LibLZMA=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_ZSTD=ON -DCMAKE_DISABLE_FIND_PACKAGE_WebP=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_JBIG=ON -DCMAKE_DISABLE_FIND_PACKAGE_LERC=ON
  stamp "$tiff_stamp" tiff
fi

gif_stamp="giflib-$gif_v"
if ! stamp_ok "$gif_stamp"; then
  echo "build-deps: giflib $gif_v"
  bdir=$deps/build-giflib
  rm -rf "$bdir" && mkdir -p "$bdir"
  # giflib builds with a plain Makefile; the decoder needs only these units.
  for f in dgif_lib gif_err gifalloc gif_hash openbsd-reallocarray; do
    logged "$deps/giflib-$f.log" i686-w64-mingw32-gcc-posix -O2 -c "$gif_dir/$f.c" -I"$gif_dir" -o "$bdir/$f.o"
  done
  rm -f "$prefix/lib/libgif.a"
  i686-w64-mingw32-ar rcs "$prefix/lib/libgif.a" "$bdir"/*.o
  cp "$gif_dir/gif_lib.h" "$prefix/include/"
  stamp "$gif_stamp" giflib
fi
