#!/usr/bin/env bash
# The options and language dialogs of the real program in a private X server:
# the "Full Screen" box and DONE take the window to full screen and back, and
# choosing Deutsch in the language dialog relabels the main menu and is still
# in force after a restart. Every step waits for the window's size or picture
# to change, so a slow machine only makes it slower.
# Usage: lintwick_options_e2e.sh fullscreen|language <lintwick> <xprobe>
set -uo pipefail
if [ "${1:-}" != inner ]; then
  unset SDL_VIDEODRIVER
  exec "$(dirname "$0")/with_xvfb.sh" 648x488x24 "$0" inner "$@"
fi
shift
part=$1
bin=$2
probe=$3

work=$(mktemp -d)
pid=
win=
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
settings=$XDG_CONFIG_HOME/TamoGames/Lintwick/settings.reg

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${LINTWICK_E2E_SHOTS:-}" ] && [ -n "${win:-}" ]; then
    "$probe" shot "$win" "$LINTWICK_E2E_SHOTS/options-failure.ppm"
  fi
  exit 1
}

# Places of the game's 640 x 480 screen (the main menu's Options button, the
# options dialog's boxes and buttons, the language dialog's list and OK).
OPTIONS_BUTTON="85 190"
FULL_SCREEN_BOX="198 200"
DONE_BUTTON="320 401"
LANGUAGE_BUTTON="319 323"
DEUTSCH_LINE="260 232"
OK_BUTTON="260 319"
MENU_LABELS="13 171 144 38"
DIALOG_AREA="180 60 280 40"

# The window's size, and the offset and scale of the game's screen in it
# (full screen letterboxes it at the largest whole-number scale).
geometry() {
  local w= h=
  read -r w h <<<"$(xdotool getwindowgeometry "$win" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')"
  [ -n "$w" ] || { size=none; return; }
  scale=$((w / 640 < h / 480 ? w / 640 : h / 480))
  [ "$scale" -ge 1 ] || scale=1
  offx=$(((w - 640 * scale) / 2))
  offy=$(((h - 480 * scale) / 2))
  size="${w}x${h}"
}
sum() {
  geometry
  "$probe" sum "$win" $((offx + $1 * scale)) $((offy + $2 * scale)) $(($3 * scale)) $(($4 * scale))
}
wait_change() {  # BEFORE SECONDS X Y W H
  local before=$1 tries=$(($2 * 20))
  shift 2
  for _ in $(seq "$tries"); do
    [ "$(sum "$@")" != "$before" ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "the program ended"
    sleep 0.05
  done
  return 1
}
wait_still() {  # SECONDS X Y W H
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
click() {  # X Y
  geometry
  xdotool mousemove --window "$win" $((offx + $1 * scale + scale / 2)) $((offy + $2 * scale + scale / 2)) click 1
}
park_mouse() {
  geometry
  xdotool mousemove --window "$win" $((offx + 630 * scale)) $((offy + 470 * scale))
}
click_until() {  # X Y SECONDS RX RY RW RH: clicks until the rectangle changes
  local x=$1 y=$2 limit=$3 before
  shift 3
  before=$(sum "$@")
  for _ in $(seq "$limit"); do
    click "$x" "$y"
    wait_change "$before" 1 "$@" && return 0
  done
  return 1
}
# A switch of the screen mode makes a new window: it is looked up again by
# its title until it has the size asked for.
# A switch of the screen mode makes a new window; it is found again by its
# title. (Without a window manager the desktop does not report the full
# screen state, so the new window is the sign of the switch.)
wait_new_window() {  # SECONDS
  local old=$win found
  for _ in $(seq $(($1 * 20))); do
    kill -0 "$pid" 2>/dev/null || fail "the program ended"
    if found=$("$probe" find 'Lintwick 1.0.3' 2>/dev/null) && [ "$found" != "$old" ]; then
      win=$found
      return 0
    fi
    sleep 0.05
  done
  return 1
}

start_game() {
  "$bin" & pid=$!
  win=
  for _ in $(seq 600); do
    win=$("$probe" find 'Lintwick 1.0.3' 2>/dev/null) && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared"
    sleep 0.05
  done
  [ -n "$win" ] || fail "no window titled 'Lintwick 1.0.3'"
  for _ in $(seq 1200); do [ "$(sum 13 123 144 38)" != 0 ] && break; sleep 0.05; done
  wait_still 60 13 123 144 38 || fail "the splash never stood still"
  click_until 320 392 120 13 123 144 38 || fail "the start link never led to the menus"
  park_mouse
  wait_still 10 $MENU_LABELS || fail "the menu never stood still"
}
open_options() {
  click_until $OPTIONS_BUTTON 30 $DIALOG_AREA || fail "Options did not open the options dialog"
  wait_still 10 $DIALOG_AREA
}
close_program() {
  "$probe" close "$win"
  wait "$pid"; rc=$?
  pid=
  [ "$rc" -eq 0 ] || fail "exit code $rc after the close button"
}

mkdir -p "$(dirname "$settings")"
printf '"ScreenMode"=dword:00000000\n' >"$settings"
start_game

if [ "$part" = fullscreen ]; then
  # Full screen and back through the options dialog.
  open_options
  click $FULL_SCREEN_BOX
  click $DONE_BUTTON
  wait_new_window 30 || fail "DONE with the box checked did not switch the screen mode"
  wait_still 10 $MENU_LABELS
  open_options
  click $FULL_SCREEN_BOX
  click $DONE_BUTTON
  wait_new_window 30 || fail "DONE with the box unchecked did not switch back"
  close_program
  grep -q '"ScreenMode"=dword:00000000' "$settings" || fail "the window mode was not kept"
  echo "1 passed, 0 failed"
  exit 0
fi

# Deutsch relabels the menu at once.
park_mouse
wait_still 10 $MENU_LABELS
english=$(sum $MENU_LABELS)
open_options
click_until $LANGUAGE_BUTTON 30 250 200 140 40 || fail "the language dialog did not open"
wait_still 10 250 200 140 40
click $DEUTSCH_LINE
click $OK_BUTTON
wait_change "$english" 30 $MENU_LABELS || fail "the main menu was not relabelled"
click_until $DONE_BUTTON 30 $DIALOG_AREA || fail "DONE did not close the options dialog"
park_mouse
wait_still 10 $MENU_LABELS
german=$(sum $MENU_LABELS)
[ "$german" != "$english" ] || fail "the menu looks the same in German"
close_program
grep -q '"Locale"="De"' "$settings" || fail "the language was not stored"

# After a restart the game speaks German.
start_game
[ "$(sum $MENU_LABELS)" = "$german" ] || fail "the restarted game's menu is not the German one"
close_program
echo "1 passed, 0 failed"
