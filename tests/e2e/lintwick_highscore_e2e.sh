#!/usr/bin/env bash
# A high-score name typed on the keyboard of a private X server: a saved game
# stands in the end-of-game transition of the hundredth level; Continue runs
# it to its end, the high-score table opens with the name field, and the
# player types "John McDonald" (capitals with Shift, as xdotool types them)
# and Enter. The table on the disk must hold the name as typed. Every step
# waits for the picture or the file to change, so a slow machine only makes
# it slower.
# Usage: lintwick_highscore_e2e.sh <lintwick> <xprobe>
set -uo pipefail
if [ "${1:-}" != inner ]; then
  unset SDL_VIDEODRIVER
  exec "$(dirname "$0")/with_xvfb.sh" 648x488x24 "$0" inner "$@"
fi
shift
bin=$1
probe=$2

work=$(mktemp -d)
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
SHOT_NAME=highscore-failure.ppm
# shellcheck source=tests/e2e/xdrive.sh
source "$(dirname "$0")/xdrive.sh"
private_home "$work"
window_settings

# The saved game: level index 99, ten hints, a score of 1000000, the floor of
# level points, one vortex left, the GameDone transition at tick 75 with the
# shutters closed (offset 225), and seven empty link blocks.
save=$XDG_DATA_HOME/Tamo\ Games/Lintwick/save
mkdir -p "$save"
printf '\x63\x00\x0a\x40\x42\x0f\x00\x0a\x00\x01\x00\x4b\x00\xe1\x00\x02\x0a\x00' >"$save/game.dat"
printf '\x00\x00%.0s' 1 2 3 4 5 6 7 >>"$save/game.dat"
scores=$save/score.dat
NAME='John McDonald'

# wait_file TEXT: until the high-score table on the disk holds TEXT.
wait_file() {
  for _ in $(seq 300); do
    [ -f "$scores" ] && grep -qaF "$1" "$scores" && return 0
    alive
    sleep 0.1
  done
  return 1
}

launch
leave_splash
# Continue: the start screen's second button; the board shows the closed shutters.
click_until 405 243 10 200 300 60 60 || fail "Continue did not resume the saved game"
# The finished game opens the table, which is stored at once with the default name.
wait_file Wicker || fail "the high-score table never opened"
move 320 240
xdotool windowfocus --sync "$win" 2>/dev/null
xdotool key --delay 40 BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 40 "$NAME"
xdotool key Return
wait_file "$NAME" || fail "the table does not hold the name '$NAME': $(tr -c '[:print:]' ' ' <"$scores")"
close_program
echo "1 passed, 0 failed"
