#!/usr/bin/env bash
# Plays the first level of the real program in a private X server with the
# mouse: splash, start link, New, the help's close button, both links of
# level 1 along the solution stored in the level files; on level 2 it buys a
# hint and draws the start of a link, then closes the window. The program must
# exit with 0 and leave a saved game on level index 1. Started again, Continue
# must show the same board, level, score and hint. Every step waits for the
# picture to change where the step shows, so a slow machine only makes it
# slower.
# Usage: lintwick_play_e2e.sh <lintwick> <xprobe> <data folder>
set -uo pipefail
if [ "${1:-}" != inner ]; then
  unset SDL_VIDEODRIVER
  exec "$(dirname "$0")/with_xvfb.sh" 1024x768x24 "$0" inner "$@"
fi
shift
bin=$1
probe=$2
levels=$3/levels

work=$(mktemp -d)
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
# shellcheck source=tests/e2e/xdrive.sh
source "$(dirname "$0")/xdrive.sh"
private_home "$work"
window_settings
read_first_level "$levels"

launch
leave_splash
new_game

# The panel's level label (the small font stands it at y 34..47).
level_label=$(sum 55 31 110 17) || fail "the panel cannot be read"
for ((link = 0; 2 * link < nodes[0]; link++)); do play_link "$link"; done

# The shutters close, the second level is built behind them (the panel's
# level label changes), and they open again (the board comes to rest).
# The label changes while the shutters stand closed; a corner of the board
# under the upper shutter changes when they open.
wait_change "$level_label" 60 55 31 110 17 || fail "the second level never came"
closed=$(sum 420 20 40 40) || fail "the board cannot be read"
wait_change "$closed" 60 420 20 40 40 || fail "the shutters never opened"
# shellcheck disable=SC2086
wait_still 120 $BOARD || fail "the second level never came to rest"

# On level 2: a hint bought (the miniature replaces the question mark), and
# the first link drawn two cells; the mouse then leaves the board beside it,
# which ends the drawing and the hover.
click_until 85 238 5 20 264 132 132 || fail "the hint button showed no miniature"
read -r -a nodes2 <<<"$(od -An -v -tu1 -j16 -N16 "$levels/level_n.dat" | tr -s " \n" " ")"
read -r -a solution2 <<<"$(od -An -v -tu1 -j100 -N100 "$levels/level_l.dat" | tr -s " \n" " ")"
if [ "${solution2[0]}" -ge 2 ]; then
  start_link "${nodes2[2]}" "${solution2[1]}"
  move_into "${solution2[2]}" || fail "no piece appeared in cell ${solution2[2]} of level 2"
fi
# What must come back: the board, the panel's labels, the hint button's
# caption and its miniature.
LOOKS=("$BOARD" "10 32 150 36" "13 219 144 38" "20 264 132 132")
move 632 240
before=()
for rect in "${LOOKS[@]}"; do
  # shellcheck disable=SC2086
  look=$(still 30 $rect) || fail "level 2 never came to rest at $rect"
  before+=("$look")
done

close_program
saved=$XDG_DATA_HOME/TamoGames/Lintwick/save/game.dat
[ -f "$saved" ] || saved=$(find "$work" -name game.dat | head -1)
[ -n "$saved" ] && [ -f "$saved" ] || fail "no saved game"
level=$(od -An -tu1 -N1 "$saved" | tr -d ' ')
[ "$level" = 1 ] || fail "the saved game is on level index $level, not 1"
grep -q '"UnlockedLevel"=dword:00000001' "$settings" || fail "the furthest level reached was not stored"

# Started again, Continue brings back the same board, labels, hint caption and
# miniature.
launch
leave_splash
click_until 405 243 10 200 300 60 60 || fail "Continue did not show the game"
move 632 240
for i in "${!LOOKS[@]}"; do
  # shellcheck disable=SC2086
  wait_equal "${before[$i]}" 30 ${LOOKS[$i]} || fail "the continued game looks different at ${LOOKS[$i]}"
done
close_program
echo "1 passed, 0 failed"
