# Steps shared by the end-to-end runs in a private X server, sourced by them.
# Every step waits for a state of the window (through xprobe, which does the
# waiting on one X connection); none sleeps a fixed time. Places are in the
# game's 640 x 480 screen, wherever the window shows it.
# The caller sets bin (the program), probe (xprobe), work (a temporary
# folder) and SHOT_NAME (the file name of the picture a failure leaves).
# shellcheck shell=bash

TITLE='Lintwick 1.0.3'
pid=
win=

# The program's own folders, and a runtime folder as a desktop session has
# one (libraries that look for it otherwise complain on stderr).
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
export SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
settings=$XDG_CONFIG_HOME/TamoGames/Lintwick/settings.reg

# A failure says where the program stood: running or not, the windows on the
# screen (a message box shows there by its title), and it leaves the window's
# picture in $LINTWICK_E2E_SHOTS when that is set.
fail() {
  echo "FAIL: $*" >&2
  if [ -n "$pid" ]; then
    if kill -0 "$pid" 2>/dev/null; then echo "the program still runs" >&2; else echo "the program has ended" >&2; fi
  fi
  echo "windows on the screen:" >&2
  "$probe" list >&2
  if [ -n "${LINTWICK_E2E_SHOTS:-}" ] && [ -n "$win" ]; then
    "$probe" shot "$win" "$LINTWICK_E2E_SHOTS/$SHOT_NAME"
  fi
  exit 1
}

# launch: starts the program and waits until its window is shown.
launch() {
  "$bin" &
  pid=$!
  win=
  for _ in $(seq 60); do
    win=$("$probe" find "$TITLE" 1) && return 0
    kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared"
  done
  fail "no window titled '$TITLE'"
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

# wait_change BEFORE SECONDS X Y W H: until the rectangle shows something else.
wait_change() {
  local before=$1 seconds=$2
  shift 2
  "$probe" change "$win" "$before" "$seconds" "$@" >/dev/null && return 0
  alive
  return 1
}

# wait_equal PICTURE SECONDS X Y W H: until the rectangle shows PICTURE.
wait_equal() {
  local picture=$1 seconds=$2
  shift 2
  "$probe" equal "$win" "$picture" "$seconds" "$@" >/dev/null && return 0
  alive
  return 1
}

# still SECONDS X Y W H: prints the rectangle's picture once it stands still.
still() {
  "$probe" still "$win" "$@" && return 0
  alive
  return 1
}
wait_still() { still "$@" >/dev/null; }

# move X Y [click 1]: the mouse to a place of the game's screen (and a click
# there); click X Y.
move() {
  local at
  at=$("$probe" point "$win" "$1" "$2") || fail "the window is gone"
  shift 2
  # shellcheck disable=SC2086
  xdotool mousemove --window "$win" $at "$@"
}
click() { move "$1" "$2" click 1; }

# click_until X Y TRIES RX RY RW RH: clicks at (X, Y) until the rectangle
# changes; a click the game is not ready for yet is repeated.
click_until() {
  local x=$1 y=$2 tries=$3 before
  shift 3
  before=$(still 30 "$@") || fail "the screen never stood still before a click at $x $y"
  for _ in $(seq "$tries"); do
    click "$x" "$y"
    wait_change "$before" 3 "$@" && return 0
  done
  return 1
}

# to_menus: from the splash, once loading is done, the start link leads to
# the main menu (the splash's black start is not a picture of it yet).
to_menus() {
  wait_change 0 60 13 123 144 38 || fail "the splash was never drawn"
  click_until 320 392 60 13 123 144 38 || fail "the start link never led to the menus"
}
