#!/usr/bin/env bash
# Plays the first level of the real program in a private X server with the
# mouse: splash, start link, New, the help's close button, both links of
# level 1 along the solution stored in the level files, then the window's
# close button. The program must exit with 0 and leave a saved game on level
# index 1. Every step waits for the picture to change where the step shows,
# so a slow machine only makes it slower.
# Usage: lintwick_play_e2e.sh <lintwick> <xprobe> <data folder>
set -uo pipefail
if [ "${1:-}" != inner ]; then
  unset SDL_VIDEODRIVER
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" inner "$@"
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

# shellcheck source=tests/e2e/xdrive.sh
source "$(dirname "$0")/xdrive.sh"
window_settings

read_first_level "$levels"

"$bin" & pid=$!
find_window
leave_splash
new_game

level_label=$(sum 55 50 110 20)
for ((link = 0; 2 * link < nodes[0]; link++)); do play_link "$link"; done

# The shutters close, the second level is built behind them (the panel's
# level label changes), and they open again (the board comes to rest).
wait_change "$level_label" 60 55 50 110 20 || fail "the second level never came"
wait_still 120 170 0 470 480 || fail "the second level never came to rest"

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
echo "1 passed, 0 failed"
