#!/usr/bin/env bash
# make bench-web: the desktop build's worst game-screen frame from
# gamescreen_bench, then the web build's figures from headless Chromium
# (bench_web.cjs), which prints the summary line
#   web: download A KB (wasm B KB, data C KB), first picture D ms, start link E ms, frame F ms (native G ms, ratio R)
# Usage: bench/web/run.sh BUILD SITE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:?usage: run.sh BUILD SITE}")
site=$(realpath "${2:?usage: run.sh BUILD SITE}")
node_folder=$(dirname "$site")/browser-test

[ -x "$build/bench/gamescreen_bench" ] || { echo "no $build/bench/gamescreen_bench (make build)" >&2; exit 1; }
"$here/../../tests/web/install-deps.sh" "$node_folder" >&2
native=$("$build/bench/gamescreen_bench" --benchmark_filter='game_screen/worst_frame|memcpy' 2>/dev/null |
  sed -n 's/.*frame: worst game-screen frame \([0-9.]*\) = .*/\1/p')
[ -n "$native" ] || { echo "gamescreen_bench printed no frame line" >&2; exit 1; }
LINTWICK_NODE_MODULES=$node_folder/node_modules node "$here/bench_web.cjs" "$site" "$native"
