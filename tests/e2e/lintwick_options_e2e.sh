#!/usr/bin/env bash
# The options and language dialogs of the real program in a private X server:
# the "Full Screen" box and DONE take the window to full screen and back, and
# choosing Deutsch in the language dialog relabels the main menu and is still
# in force after a restart. Every step waits for the window or its picture to
# change, so a slow machine only makes it slower.
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
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
SHOT_NAME=options-failure.ppm
# shellcheck source=tests/e2e/xdrive.sh
source "$(dirname "$0")/xdrive.sh"
private_home "$work"

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
LANGUAGE_LIST="250 200 140 40"

# The mouse rests in a corner of the screen, away from every button, so no
# hover highlight stands in a picture that is compared.
park_mouse() { move 630 470; }

# start_game: the program up to its main menu, standing still.
start_game() {
  launch
  leave_splash
  park_mouse
  # shellcheck disable=SC2086
  wait_still 30 $MENU_LABELS || fail "the menu never stood still"
}
open_options() {
  # shellcheck disable=SC2086
  click_until $OPTIONS_BUTTON 10 $DIALOG_AREA || fail "Options did not open the options dialog"
}
# switch_screen_mode: the box and DONE; a switch of the screen mode makes a
# new window, which is found again by its title. (Without a window manager
# the desktop does not report the full screen state, so the new window is the
# sign of the switch.)
switch_screen_mode() {
  local old=$win
  open_options
  # shellcheck disable=SC2086
  wait_still 30 $DIALOG_AREA || fail "the options dialog never stood still"
  # The game takes the two clicks in their order.
  click $FULL_SCREEN_BOX
  click $DONE_BUTTON
  win=$("$probe" find "$TITLE" 30 "$old") || fail "DONE with the box changed did not switch the screen mode"
  park_mouse
  # shellcheck disable=SC2086
  wait_still 30 $MENU_LABELS || fail "the menu never stood still after the switch"
}

window_settings
start_game

if [ "$part" = fullscreen ]; then
  # Full screen and back through the options dialog.
  switch_screen_mode
  switch_screen_mode
  close_program
  grep -q '"ScreenMode"=dword:00000000' "$settings" || fail "the window mode was not kept"
  echo "1 passed, 0 failed"
  exit 0
fi

# Deutsch relabels the menu at once.
# shellcheck disable=SC2086
english=$(still 30 $MENU_LABELS) || fail "the menu never stood still"
open_options
# shellcheck disable=SC2086
click_until $LANGUAGE_BUTTON 10 $LANGUAGE_LIST || fail "the language dialog did not open"
# shellcheck disable=SC2086
wait_still 30 $LANGUAGE_LIST || fail "the language dialog never stood still"
click $DEUTSCH_LINE
click $OK_BUTTON
# shellcheck disable=SC2086
wait_change "$english" 30 $MENU_LABELS || fail "the main menu was not relabelled"
# shellcheck disable=SC2086
click_until $DONE_BUTTON 10 $DIALOG_AREA || fail "DONE did not close the options dialog"
park_mouse
# shellcheck disable=SC2086
german=$(still 30 $MENU_LABELS) || fail "the German menu never stood still"
[ "$german" != "$english" ] || fail "the menu looks the same in German"
close_program
grep -q '"Locale"="De"' "$settings" || fail "the language was not stored"

# After a restart the game speaks German.
start_game
# shellcheck disable=SC2086
wait_equal "$german" 30 $MENU_LABELS || fail "the restarted game's menu is not the German one"
close_program
echo "1 passed, 0 failed"
