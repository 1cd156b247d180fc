#!/usr/bin/env bash
# Builds the C libraries the game links (zlib, libpng, libjpeg-turbo, libogg,
# libvorbis) for the web with Emscripten, from Debian's own source packages at
# the versions this Debian release ships. Each library is fetched with
# `apt-get source`, built once into OUT/prefix and marked done by a stamp
# named after its version, so later runs cost nothing.
#   scripts/web-libs.sh OUT   (OUT: the web build folder, e.g. build-web)
set -euo pipefail

out=$(realpath -m "${1:?usage: web-libs.sh OUT}")
src="$out/src"
prefix="$out/prefix"
jobs=${JOBS:-2}
mkdir -p "$src" "$prefix/lib/pkgconfig" "$prefix/include"
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
# Plain optimised code without debug information, like the game itself.
export CFLAGS="-O2"
export CPPFLAGS="-I$prefix/include"
export LDFLAGS="-L$prefix/lib"
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"

# The unpacked source folder of a Debian source package, fetched when missing.
# The version comes from apt, so the stamp changes when Debian's does.
fetch() {
  local package=$1
  local version
  version=$(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -V | tail -1)
  [ -n "$version" ] || { echo "No source package $package: run scripts/web-deps.sh" >&2; exit 1; }
  local upstream=${version#*:}
  upstream=${upstream%-*}
  local dir
  dir=$(find "$src" -maxdepth 1 -type d -name "$package-${upstream}*" | head -1)
  if [ -z "$dir" ]; then
    (cd "$src" && apt-get source -q "$package=$version" >/dev/null 2>"$src/$package.log") ||
      { cat "$src/$package.log" >&2; exit 1; }
    dir=$(find "$src" -maxdepth 1 -type d -name "$package-${upstream}*" | head -1)
  fi
  echo "$dir $version"
}

# build NAME PACKAGE FUNCTION: runs FUNCTION in the package's source folder
# unless the stamp for this version exists.
build() {
  local name=$1 package=$2 step=$3
  local info dir version
  info=$(fetch "$package")
  dir=${info% *}
  version=${info#* }
  local stamp="$prefix/.$name-$version.done"
  [ -f "$stamp" ] && return 0
  echo "Building $name $version for the web"
  (cd "$dir" && "$step") >"$out/$name.log" 2>&1 || { tail -40 "$out/$name.log" >&2; exit 1; }
  touch "$stamp"
}

# (Each step chains with &&: `set -e` does not hold inside a function whose
# caller tests its result.)
autotools_static() {
  emconfigure ./configure --host=wasm32-unknown-emscripten --prefix="$prefix" --disable-shared --enable-static "$@" &&
    emmake make -j"$jobs" && emmake make install
}

build_zlib() {
  emconfigure ./configure --static --prefix="$prefix" && emmake make -j"$jobs" libz.a && emmake make install
}
build_png() { autotools_static; }
build_jpeg() {
  rm -rf web-build &&
    emcmake cmake -S . -B web-build -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
      $(wasm32_sizes SIZE_T=4 UNSIGNED_LONG=4) &&
    cmake --build web-build -j"$jobs" && cmake --install web-build
}
# CMake's type-size probe (check_type_size) misreads Emscripten's objects, so
# the answers for wasm32 are given: NAME=SIZE for each probe's variable.
wasm32_sizes() {
  local pair
  for pair in "$@"; do echo "-DHAVE_${pair%=*}=TRUE" "-D$pair"; done
}

# libogg's and libvorbis's configure scripts predate Emscripten's host name;
# their CMake builds serve.
cmake_static() {
  rm -rf web-build &&
    emcmake cmake -S . -B web-build -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF \
      -DBUILD_TESTING=OFF -DINSTALL_DOCS=OFF "$@" &&
    cmake --build web-build -j"$jobs" && cmake --install web-build
}
build_ogg() {
  # shellcheck disable=SC2046
  cmake_static $(wasm32_sizes INT16_SIZE=2 UINT16_SIZE=2 U_INT16_SIZE=2 INT32_SIZE=4 UINT32_SIZE=4 U_INT32_SIZE=4 \
    INT64_SIZE=8 SHORT_SIZE=2 INT_SIZE=4 LONG_SIZE=4 LONG_LONG_SIZE=8)
}
build_vorbis() { cmake_static; }

build zlib zlib build_zlib
build libpng libpng1.6 build_png
build libjpeg libjpeg-turbo build_jpeg
build libogg libogg build_ogg
build libvorbis libvorbis build_vorbis
