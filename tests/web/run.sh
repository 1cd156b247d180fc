#!/usr/bin/env bash
# The browser test: the desktop program's start screen is taken in a private
# X server, then the web build in SITE is served and played in headless
# Chromium (browser_test.cjs). A failure leaves the pictures in
# SITE/../test-web-shots.
# Usage: tests/web/run.sh BUILD SITE   (BUILD: the desktop build folder)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:?usage: run.sh BUILD SITE}")
site=$(realpath "${2:?usage: run.sh BUILD SITE}")
web_build=$(dirname "$site")
node_folder=$web_build/browser-test
shots=$web_build/test-web-shots

[ -f "$site/index.html" ] || { echo "FAIL: no page in $site (make web)" >&2; exit 1; }
"$here/install-deps.sh" "$node_folder"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$shots"
"$here/native_start_screen.sh" "$build/lintwick" "$build/tests/e2e/xprobe" "$work/native-start.ppm"
LINTWICK_NODE_MODULES=$node_folder/node_modules \
  node "$here/browser_test.cjs" "$site" "$build/data/levels" "$work/native-start.ppm" "$shots"
