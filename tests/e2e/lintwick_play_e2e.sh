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
pid=
win=
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null

# A failure leaves the window's picture in $LINTWICK_E2E_SHOTS when that is set.
fail() {
  echo "FAIL: $*" >&2
  if [ -n "${LINTWICK_E2E_SHOTS:-}" ] && [ -n "${win:-}" ]; then
    "$probe" shot "$win" "$LINTWICK_E2E_SHOTS/failure.ppm"
  fi
  exit 1
}

# A window, not full screen, so that window coordinates are the game's own.
mkdir -p "$XDG_CONFIG_HOME/TamoGames/Lintwick"
printf '"ScreenMode"=dword:00000000\n' >"$XDG_CONFIG_HOME/TamoGames/Lintwick/settings.reg"

# Cell codes of the first level: nodes (count, then target and start of each
# link) and the solution (per link: length, then the cells from the start).
read -r -a nodes <<<"$(od -An -v -tu1 -N16 "$levels/level_n.dat" | tr -s " \n" " ")"
read -r -a solution <<<"$(od -An -v -tu1 -N100 "$levels/level_l.dat" | tr -s " \n" " ")"
[ "${#nodes[@]}" -eq 16 ] && [ "${#solution[@]}" -eq 100 ] || fail "no level files in $levels"

# launch: starts the program and waits for its window.
launch() {
  "$bin" & pid=$!
  win=
  for _ in $(seq 600); do
    win=$("$probe" find 'Lintwick 1.0.3' 2>/dev/null) && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared"
    sleep 0.05
  done
  [ -n "$win" ] || fail "no window titled 'Lintwick 1.0.3'"
}
launch

sum() { "$probe" sum "$win" "$@"; }
# wait_change BEFORE SECONDS X Y W H: until the rectangle differs from BEFORE.
wait_change() {
  local before=$1 tries=$(($2 * 20))
  shift 2
  for _ in $(seq "$tries"); do
    [ "$(sum "$@")" != "$before" ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "the program ended"
    sleep 0.05
  done
  return 1
}
# click_until X Y SECONDS RX RY RW RH: clicks at (X, Y) until the rectangle changes.
click_until() {
  local x=$1 y=$2 limit=$3
  shift 3
  local before
  before=$(sum "$@")
  for _ in $(seq "$limit"); do
    xdotool mousemove --window "$win" "$x" "$y" click 1
    wait_change "$before" 1 "$@" && return 0
  done
  return 1
}
cell_x() { echo $((170 + 27 + 45 * ($1 >> 4))); }
cell_y() { echo $((37 + 45 * ($1 & 15))); }
cell_rect() { echo "$(($(cell_x "$1") - 12)) $(($(cell_y "$1") - 12)) 24 24"; }
# move_into CODE [TRIES]: moves the mouse into the cell and waits for a piece
# to show there.
move_into() {
  local before
  # shellcheck disable=SC2046
  before=$(sum $(cell_rect "$1"))
  for _ in $(seq "${2:-3}"); do
    xdotool mousemove --window "$win" "$(cell_x "$1")" "$(cell_y "$1")"
    # shellcheck disable=SC2046
    wait_change "$before" 3 $(cell_rect "$1") && return 0
    xdotool mousemove --window "$win" "$(($(cell_x "$1") - 8))" "$(($(cell_y "$1") + 6))"
  done
  return 1
}
# wait_still SECONDS X Y W H: until two looks 0.2 s apart agree (or time runs out).
wait_still() {
  local tries=$(($1 * 5)) last= now
  shift
  for _ in $(seq "$tries"); do
    now=$(sum "$@")
    [ "$now" = "$last" ] && return 0
    last=$now
    sleep 0.2
  done
  return 1
}
# start_link START FIRST: clicks the start node until the cube takes the
# mouse into the first cell of the path (a click while the last link's cube
# still settles is not taken).
start_link() {
  local x y
  x=$(cell_x "$1")
  y=$(cell_y "$1")
  for _ in 1 2 3 4 5; do
    wait_still 5 170 0 470 465
    xdotool mousemove --window "$win" "$x" "$y" click 1
    move_into "$2" 1 && return 0
    xdotool mousemove --window "$win" "$x" "$y"
  done
  fail "the start node $1 took no click"
}

# The start link shows once loading is done; the main menu replaces the splash
# (an all-black rectangle sums to 0: the splash is not drawn yet).
to_menus() {
  for _ in $(seq 1200); do [ "$(sum 13 123 144 38)" != 0 ] && break; sleep 0.05; done
  wait_still 60 13 123 144 38 || fail "the splash never stood still"
  click_until 320 392 120 13 123 144 38 || fail "the start link never led to the menus"
}
to_menus
# New starts a game with the help over the board.
click_until 405 172 30 200 300 60 60 || fail "New did not start a game"
# The help's close button uncovers the board.
click_until 320 431 30 200 200 60 60 || fail "the help did not close"

# The panel's level label (the small font stands it at y 34..47).
level_label=$(sum 55 31 110 17)
offset=0
for ((link = 0; 2 * link < nodes[0]; link++)); do
  target=${nodes[$((1 + 2 * link))]}
  start=${nodes[$((2 + 2 * link))]}
  count=${solution[$offset]}
  first=$target
  [ "$count" -gt 0 ] && first=${solution[$((offset + 1))]}
  start_link "$start" "$first"
  for ((i = 2; i <= count; i++)); do
    move_into "${solution[$((offset + i))]}" || fail "no piece appeared in cell ${solution[$((offset + i))]}"
  done
  [ "$count" -gt 0 ] && { move_into "$target" || fail "link $link did not reach its target"; }
  offset=$((offset + 1 + count))
done

# The shutters close, the second level is built behind them (the panel's
# level label changes), and they open again (the board comes to rest).
# The label changes while the shutters stand closed; a corner of the board
# under the upper shutter changes when they open.
wait_change "$level_label" 60 55 31 110 17 || fail "the second level never came"
closed=$(sum 420 20 40 40)
wait_change "$closed" 60 420 20 40 40 || fail "the shutters never opened"
wait_still 120 170 0 470 480 || fail "the second level never came to rest"

# On level 2: a hint bought (the miniature replaces the question mark), and
# the first link drawn two cells; the mouse then leaves the board beside it,
# which ends the drawing and the hover.
click_until 85 238 10 20 264 132 132 || fail "the hint button showed no miniature"
read -r -a nodes2 <<<"$(od -An -v -tu1 -j16 -N16 "$levels/level_n.dat" | tr -s " \n" " ")"
read -r -a solution2 <<<"$(od -An -v -tu1 -j100 -N100 "$levels/level_l.dat" | tr -s " \n" " ")"
if [ "${solution2[0]}" -ge 2 ]; then
  start_link "${nodes2[2]}" "${solution2[1]}"
  move_into "${solution2[2]}" || fail "no piece appeared in cell ${solution2[2]} of level 2"
fi
off_board() { xdotool mousemove --window "$win" 632 240; }
off_board
wait_still 30 170 0 470 480 || fail "level 2 never came to rest"
looks() { echo "$(sum 170 0 470 480) $(sum 10 32 150 36) $(sum 13 219 144 38) $(sum 20 264 132 132)"; }
before=$(looks)

"$probe" close "$win"
wait "$pid"; rc=$?
pid=
[ "$rc" -eq 0 ] || fail "exit code $rc after the close button"

saved=$XDG_DATA_HOME/TamoGames/Lintwick/save/game.dat
[ -f "$saved" ] || saved=$(find "$work" -name game.dat | head -1)
[ -n "$saved" ] && [ -f "$saved" ] || fail "no saved game"
level=$(od -An -tu1 -N1 "$saved" | tr -d ' ')
[ "$level" = 1 ] || fail "the saved game is on level index $level, not 1"
grep -q '"UnlockedLevel"=dword:00000001' "$XDG_CONFIG_HOME/TamoGames/Lintwick/settings.reg" ||
  fail "the furthest level reached was not stored"

# Started again, Continue brings back the same board, labels, hint caption and
# miniature.
launch
to_menus
click_until 405 243 30 200 300 60 60 || fail "Continue did not show the game"
off_board
wait_still 30 170 0 470 480 || fail "the continued game never came to rest"
after=$(looks)
[ "$after" = "$before" ] || fail "the continued game looks different: $before / $after"
"$probe" close "$win"
wait "$pid"; rc=$?
pid=
[ "$rc" -eq 0 ] || fail "exit code $rc after closing the continued game"
echo "1 passed, 0 failed"
