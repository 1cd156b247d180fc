#!/usr/bin/env bash
# Builds the web page into OUT/site from the native build NATIVE (its
# generated main.pak and icons): the C libraries once (scripts/web-libs.sh),
# then the program with Emscripten, then the page's files from web/.
#   scripts/web-build.sh NATIVE OUT   (e.g. build build-web)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
native=$(realpath "${1:?usage: web-build.sh NATIVE OUT}")
out=$(realpath -m "${2:?usage: web-build.sh NATIVE OUT}")
jobs=${JOBS:-2}
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

"$root/scripts/web-libs.sh" "$out"

prefix="$out/prefix"
game="$out/game"
if [ ! -f "$game/build.ninja" ]; then
  PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" emcmake cmake -S "$root" -B "$game" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DZING_TESTS=OFF -DZING_BENCH=OFF \
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DLINTWICK_WEB_PAK="$native/data/main.pak"
fi
PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" cmake --build "$game" -j "$jobs" --target lintwick

# The site: the page's own files as they are, the program and its data, the icons.
site="$out/site"
rm -rf "$site.new"
mkdir -p "$site.new/icons"
if [ -d "$root/web" ]; then cp -R "$root/web/." "$site.new/"; fi
cp "$game/lintwick.js" "$game/lintwick.wasm" "$game/lintwick.data" "$site.new/"
icons="$native/icons/hicolor"
for dir in "$icons"/*x*/apps; do
  size=$(basename "$(dirname "$dir")")
  cp "$dir"/*.png "$site.new/icons/icon-${size%x*}.png"
done
[ -f "$icons/scalable/apps/"*.svg ] && cp "$icons/scalable/apps/"*.svg "$site.new/icons/icon.svg"
rm -rf "$site"
mv "$site.new" "$site"
echo "The page is in $site"
