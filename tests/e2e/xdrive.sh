# Helpers that drive the real program in an X server with the mouse. Every
# step waits for a state of the window through xprobe, which does the waiting
# on one X connection; none sleeps a fixed time, so a slow machine only makes
# a run slower. Places are in the game's 640 x 480 picture, wherever the
# window shows it. Sourced by the end-to-end tests and by
# scripts/screenshots.sh; they expect $bin (the program), $probe (the xprobe
# program); they keep $pid (the game's process) and $win (its window). A
# caller may define its own fail MESSAGE before sourcing.
# shellcheck shell=bash

TITLE='Lintwick 1.0.3'
pid=
win=

# private_home FOLDER: the program's settings, saves and runtime folder there
# (a desktop session has a runtime folder; libraries complain without one).
private_home() {
  export HOME=$1 XDG_CONFIG_HOME=$1/config XDG_DATA_HOME=$1/data XDG_RUNTIME_DIR=$1/run
  export SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  settings=$XDG_CONFIG_HOME/TamoGames/Lintwick/settings.reg
}

# report_screen: where the program stood, for a failure's log: running or
# not, and the windows on the screen (a message box shows by its title).
report_screen() {
  if [ -n "$pid" ]; then
    if kill -0 "$pid" 2>/dev/null; then echo "the program still runs" >&2; else echo "the program has ended" >&2; fi
  fi
  echo "windows on the screen:" >&2
  "$probe" list >&2
}

# A failure explains itself, and leaves the window's picture in
# $LINTWICK_E2E_SHOTS when that is set.
if ! declare -F fail >/dev/null; then
  fail() {
    echo "FAIL: $*" >&2
    report_screen
    if [ -n "${LINTWICK_E2E_SHOTS:-}" ] && [ -n "$win" ]; then
      "$probe" shot "$win" "$LINTWICK_E2E_SHOTS/${SHOT_NAME:-failure.ppm}"
    fi
    exit 1
  }
fi

# find_window: waits until the game's window shows and sets $win.
find_window() {
  win=
  for _ in $(seq 60); do
    win=$("$probe" find "$TITLE" 1) && return 0
    kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared"
  done
  fail "no window titled '$TITLE' showed"
}
launch() {
  "$bin" &
  pid=$!
  find_window
}

# close_program: the window's close button; the program must end with 0.
close_program() {
  "$probe" close "$win"
  wait "$pid"
  local rc=$?
  pid=
  [ "$rc" -eq 0 ] || fail "exit code $rc after the close button"
}

alive() { kill -0 "$pid" 2>/dev/null || fail "the program ended"; }

sum() { "$probe" sum "$win" "$@"; }

# wait_change BEFORE SECONDS X Y W H: until the rectangle shows something else;
# wait_equal PICTURE SECONDS X Y W H: until it shows PICTURE.
probe_wait() {
  "$probe" "$1" "$win" "${@:2}" >/dev/null && return 0
  alive
  return 1
}
wait_change() { probe_wait change "$@"; }
wait_equal() { probe_wait equal "$@"; }

# still SECONDS X Y W H: prints the rectangle's picture once it stands still;
# wait_still only waits.
still() {
  "$probe" still "$win" "$@" && return 0
  alive
  return 1
}
wait_still() { still "$@" >/dev/null; }

# move X Y [click 1]: the mouse to a place of the picture (and a click there).
move() {
  local at
  at=$("$probe" point "$win" "$1" "$2") || fail "the window is gone"
  shift 2
  # shellcheck disable=SC2086
  xdotool mousemove --window "$win" $at "$@"
}
click() { move "$1" "$2" click 1; }

# click_until X Y TRIES RX RY RW RH: once the rectangle stands still, clicks
# at (X, Y) until it changes; a click the game is not ready for is repeated.
click_until() {
  local x=$1 y=$2 tries=$3 before
  shift 3
  before=$(still 30 "$@") || fail "the picture never stood still before a click at $x $y"
  for _ in $(seq "$tries"); do
    click "$x" "$y"
    wait_change "$before" 3 "$@" && return 0
  done
  return 1
}

cell_x() { echo $((170 + 27 + 45 * ($1 >> 4))); }
cell_y() { echo $((37 + 45 * ($1 & 15))); }
cell_rect() { echo "$(($(cell_x "$1") - 12)) $(($(cell_y "$1") - 12)) 24 24"; }
BOARD="170 0 470 480"
# move_into CODE [TRIES]: moves the mouse into the cell and waits for a piece
# to show there.
move_into() {
  local before
  # shellcheck disable=SC2046
  before=$(sum $(cell_rect "$1")) || fail "the board cannot be read"
  for _ in $(seq "${2:-3}"); do
    move "$(cell_x "$1")" "$(cell_y "$1")"
    # shellcheck disable=SC2046
    wait_change "$before" 3 $(cell_rect "$1") && return 0
    move "$(($(cell_x "$1") - 8))" "$(($(cell_y "$1") + 6))"
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
    # shellcheck disable=SC2086
    wait_still 30 $BOARD || fail "the board never came to rest"
    click "$x" "$y"
    move_into "$2" 1 && return 0
    move "$x" "$y"
  done
  fail "the start node $1 took no click"
}

# leave_splash: once the splash is drawn (black is no picture of it yet) and
# loading is done, the start link leads to the main menu.
leave_splash() {
  wait_change 0 60 13 123 144 38 || fail "the splash was never drawn"
  click_until 320 392 60 13 123 144 38 || fail "the start link never led to the menus"
}
# new_game: New, then the help's close button uncovers the board.
new_game() {
  click_until 405 172 10 200 300 60 60 || fail "New did not start a game"
  click_until 320 431 10 200 200 60 60 || fail "the help did not close"
}
# A window of the picture's own size, not full screen.
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
