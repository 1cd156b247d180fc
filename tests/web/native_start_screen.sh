#!/usr/bin/env bash
# The desktop program's start screen as the browser test must see it: in a
# private X server with a fresh home, past the splash's start link, the mouse
# resting between the panel and the menu buttons, where nothing reacts; the
# window's 640 x 480 picture is written to OUT (a PPM file).
# Usage: native_start_screen.sh <lintwick> <xprobe> <OUT.ppm>
set -uo pipefail
if [ "${1:-}" != inner ]; then
  unset SDL_VIDEODRIVER
  exec "$(dirname "$0")/../e2e/with_xvfb.sh" 1024x768x24 "$0" inner "$@"
fi
shift
bin=$1
probe=$2
out=$3

work=$(mktemp -d)
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
# shellcheck source=tests/e2e/xdrive.sh
source "$(dirname "$0")/../e2e/xdrive.sh"
private_home "$work"
window_settings

launch
leave_splash
move 90 110
wait_still 30 0 0 640 480 || fail "the start screen never came to rest"
"$probe" shot "$win" "$out" || fail "the start screen could not be read"
close_program
