#!/usr/bin/env bash
# Installs the Debian packages Lintwick needs to build, play and test, and only
# those that are missing. Works as root or through sudo; does nothing when all
# packages are present.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang libclang-rt-dev clang-format
  # shares compiled objects between build folders and checkouts (used when present)
  ccache
  # the game and its framework
  libsdl2-dev zlib1g-dev libpng-dev libjpeg-dev libvorbis-dev
  # JPEG 2000 is optional: the library is opened at run time, the headers give its types
  libopenjp2-7 libopenjp2-7-dev
  libopenal1 libopenal-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  # build-time asset generators
  libcairo2-dev
  # tests, benchmarks, end-to-end runs
  libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev xvfb xauth xdotool libx11-dev
  # the kill-while-saving test injects its kills with strace and checks the
  # files with a Python helper
  strace python3
  # the font benchmark compares against it
  libsdl2-ttf-dev
  # installing and packaging: validators of the desktop files, the manual
  # page's formatter, and what CPack's Debian packages need
  desktop-file-utils appstream groff-base dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
