#!/usr/bin/env bash
# Plays today's daily board in the real program in a private X server: the
# board the start screen's Daily Board button opens is the one the export
# writes for today's date (its stored solution joins every link), solving it
# brings the daily message over the start screen, and after the program has
# closed, --stats shows the day solved perfectly: the streak survives the
# restart. Every step waits for the picture to change where the step shows.
# Usage: lintwick_daily_play_e2e.sh <lintwick> <xprobe>
set -uo pipefail
if [ "${1:-}" != inner ]; then
  unset SDL_VIDEODRIVER
  exec "$(dirname "$0")/with_xvfb.sh" 1024x768x24 "$0" inner "$@"
fi
shift
bin=$1
probe=$2

work=$(mktemp -d)
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
# shellcheck source=tests/e2e/xdrive.sh
source "$(dirname "$0")/xdrive.sh"
private_home "$work"
window_settings

# Today as the player's calendar has it: the program takes the same local date.
today=$(date +%F)
"$bin" --export-daily="$today" --to="$work/today" >/dev/null || fail "no export of $today"
read_first_level "$work/today"

launch
leave_splash
# The fourth button of the start screen opens the day's board.
click_until 405 384 10 200 300 60 60 || fail "Daily Board did not open a board"
[ "$(date +%F)" = "$today" ] || { echo "midnight passed during the test; nothing to check"; exit 0; }
[ -n "${LINTWICK_E2E_SHOTS:-}" ] && "$probe" shot "$win" "$LINTWICK_E2E_SHOTS/daily-board.ppm"
for ((link = 0; 2 * link < nodes[0]; link++)); do play_link "$link"; done

# The shutters close on the solved board, the start screen comes back (the
# panel's date gives way to the level label) and the daily message stands
# over it; its button closes it.
LABEL="10 31 150 17"
# shellcheck disable=SC2086
wait_change "$(sum $LABEL)" 60 $LABEL || fail "the start screen never came back"
DIALOG="185 140 270 200"
# shellcheck disable=SC2086
wait_still 30 $DIALOG || fail "the daily message never came to rest"
[ -n "${LINTWICK_E2E_SHOTS:-}" ] && "$probe" shot "$win" "$LINTWICK_E2E_SHOTS/daily-solved.ppm"
# shellcheck disable=SC2086
click_until 320 312 10 $DIALOG || fail "the daily message did not close"
close_program

out=$("$bin" --stats) || fail "--stats failed"
echo "$out" | grep -qx "daily: streak 1, best 1, today perfect" || fail "--stats after the solve printed:
$out"
echo "$out" | grep -qx "solved: 0 of 100" || fail "the daily board counted as a level: $out"
echo "daily play: ok"
