#!/usr/bin/env bash
# Installs what the browser test and the web benchmark need and only what is
# missing: Debian's Chromium, Node.js with npm, and the X tools the desktop
# side of the comparison uses; then puppeteer-core, exactly as
# tests/web/package-lock.json pins it, into FOLDER/node_modules (reinstalled
# only when the lock file changes). Works as root or through sudo.
# Usage: tests/web/install-deps.sh FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
folder=${1:?usage: install-deps.sh FOLDER}

packages=(chromium nodejs xvfb xdotool python3)
command -v npm >/dev/null || packages+=(npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

mkdir -p "$folder"
if ! cmp -s "$here/package-lock.json" "$folder/package-lock.json" || [ ! -d "$folder/node_modules/puppeteer-core" ]; then
  cp "$here/package.json" "$here/package-lock.json" "$folder/"
  # puppeteer-core never downloads a browser; Debian's Chromium is used.
  (cd "$folder" && npm ci --no-audit --no-fund --loglevel=error)
fi
