#!/usr/bin/env bash
# Installs what the web build needs and only what is missing: Debian's
# Emscripten, the tools that fetch and unpack Debian source packages, and a
# deb-src entry for the Debian release this machine runs (the C libraries of the
# page are built from Debian's own sources). Works as root or through sudo.
set -euo pipefail

packages=(emscripten dpkg-dev python3 cmake make xz-utils bzip2)
sources_file=/etc/apt/sources.list.d/lintwick-web-src.sources

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install the web build's packages" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done

need_update=0
# A deb-src line is needed once; any existing one for the main archive will do.
if ! grep -rqs '^\(Types: *deb-src\|deb-src \)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  . /etc/os-release
  echo "Adding Debian's source packages ($VERSION_CODENAME) to $sources_file"
  "${sudo[@]}" tee "$sources_file" >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $VERSION_CODENAME $VERSION_CODENAME-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update -eq 1 ]; then
  "${sudo[@]}" apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
exit 0
