# Helpers that drive the real program in an X server with the mouse and wait
# for its picture to change instead of sleeping. Sourced by the end-to-end
# test and by scripts/screenshots.sh; they expect $probe (the xprobe
# program), $win (the game's window), $pid (the game's process) and a
# function fail MESSAGE.
# shellcheck shell=bash

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
# find_window: waits for the game's window to show and sets $win. Its
# picture cannot be read before it shows: every look would come back empty
# and seem to agree with the last one.
find_window() {
  win=
  for _ in $(seq 600); do
    if [ -z "$win" ]; then
      win=$("$probe" find 'Lintwick 1.0.3' 2>/dev/null)
    elif sum 0 0 1 1 >/dev/null 2>&1; then
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared"
    sleep 0.05
  done
  fail "no window titled 'Lintwick 1.0.3' showed"
}
# leave_splash: waits until loading is done (the start link shows where the
# main menu will be; an all-black rectangle sums to 0: the splash is not
# drawn yet), then clicks the start link until the menus show.
leave_splash() {
  local look
  for _ in $(seq 1200); do
    look=$(sum 13 123 144 38) && [ "$look" != 0 ] && break
    sleep 0.05
  done
  wait_still 60 13 123 144 38 || fail "the splash never stood still"
  click_until 320 392 120 13 123 144 38 || fail "the start link never led to the menus"
}
# new_game: New, then the help's close button uncovers the board.
new_game() {
  click_until 405 172 30 200 300 60 60 || fail "New did not start a game"
  click_until 320 431 30 200 200 60 60 || fail "the help did not close"
}
# A window of the picture's own size, not full screen, so that window
# coordinates are the game's own.
window_settings() {
  mkdir -p "$XDG_CONFIG_HOME/TamoGames/Lintwick"
  printf '"ScreenMode"=dword:00000000\n"WindowScale"=dword:00000001\n' \
    >"$XDG_CONFIG_HOME/TamoGames/Lintwick/settings.reg"
}
# read_first_level LEVELS: the cell codes of the first level, from the level
# files: nodes (count, then target and start of each link) and solution (per
# link: length, then the cells from the start).
read_first_level() {
  read -r -a nodes <<<"$(od -An -v -tu1 -N16 "$1/level_n.dat" | tr -s " \n" " ")"
  read -r -a solution <<<"$(od -An -v -tu1 -N100 "$1/level_l.dat" | tr -s " \n" " ")"
  [ "${#nodes[@]}" -eq 16 ] && [ "${#solution[@]}" -eq 100 ] || fail "no level files in $1"
}
# play_link LINK [STEPS]: draws link LINK of the first level along its
# solution, from its start node to its target; with STEPS, only so many cells.
play_link() {
  local link=$1 offset=0 l i
  for ((l = 0; l < link; l++)); do offset=$((offset + 1 + solution[offset])); done
  local target=${nodes[$((1 + 2 * link))]} start=${nodes[$((2 + 2 * link))]} count=${solution[$offset]}
  local steps=${2:-$((count + 1))} first=$target
  [ "$count" -gt 0 ] && first=${solution[$((offset + 1))]}
  start_link "$start" "$first"
  for ((i = 2; i <= count && i <= steps; i++)); do
    move_into "${solution[$((offset + i))]}" || fail "no piece appeared in cell ${solution[$((offset + i))]}"
  done
  if [ "$count" -gt 0 ] && [ "$steps" -gt "$count" ]; then
    move_into "$target" || fail "link $link did not reach its target"
  fi
}
