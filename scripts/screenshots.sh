#!/usr/bin/env bash
# Makes the README's pictures from the real game: the start screen, and a
# board of the first level with one link joined and the cube half-way along
# the next. The game runs in a private X server (xvfb-run) in a window of its
# own size, with a settings and save folder of its own, and is driven with
# the mouse (xdotool); every step waits for the picture to change.
# Usage: scripts/screenshots.sh [build folder]   (after make build)
# Writes docs/start-screen.png and docs/play.png.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" != inner ]; then
  unset SDL_VIDEODRIVER
  exec "$here/tests/e2e/with_xvfb.sh" 1024x768x24 "$0" inner "${1:-$here/build}"
fi
build=$(cd "$2" && pwd)
bin=$build/lintwick
probe=$build/tests/e2e/xprobe
out=$here/docs
[ -x "$bin" ] && [ -x "$probe" ] || { echo "Build first (make build): no $bin or $probe" >&2; exit 1; }

work=$(mktemp -d)
pid=
win=
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "screenshots: $*" >&2; exit 1; }

# shellcheck source=tests/e2e/xdrive.sh
source "$here/tests/e2e/xdrive.sh"
private_home "$work"
window_settings
read_first_level "$build/data/levels"
mkdir -p "$out"

"$bin" & pid=$!
find_window
leave_splash
# The pointer would stand on the start link's place; park it on the panel.
xdotool mousemove --window "$win" 5 475
wait_still 10 0 0 640 480
"$probe" shot "$win" "$out/start-screen.png" || fail "no picture of the start screen"

new_game
play_link 0
play_link 1 2
xdotool mousemove --window "$win" "$(cell_x "${solution[$((1 + solution[0] + 2))]}")" \
  "$(cell_y "${solution[$((1 + solution[0] + 2))]}")"
wait_still 10 170 0 470 480
"$probe" shot "$win" "$out/play.png" || fail "no picture of play"

"$probe" close "$win"
wait "$pid"
pid=
echo "wrote $out/start-screen.png and $out/play.png"
