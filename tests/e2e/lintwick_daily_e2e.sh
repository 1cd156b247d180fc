#!/usr/bin/env bash
# The real program's daily-board export: writes the three level files of a
# date into a folder (relative to where it was started), ends with 0 and
# never opens a window (no display is reachable, so any attempt would fail),
# and a bad date or an unwritable folder ends with 1 and a clear message.
# Usage: lintwick_daily_e2e.sh <path to lintwick>
set -uo pipefail
bin=$(realpath "$1")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
unset DISPLAY WAYLAND_DISPLAY
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null

fail() { echo "FAIL: $*" >&2; exit 1; }

cd "$work" || fail "no work folder"
"$bin" --export-daily=2026-12-07 --to=out/monday >stdout.txt 2>stderr.txt; rc=$?
[ "$rc" -eq 0 ] || fail "exit code $rc: $(cat stderr.txt)"
for file in level_b.dat:32 level_n.dat:16 level_l.dat:100; do
  name=${file%:*} size=${file#*:}
  [ -f "out/monday/$name" ] || fail "no out/monday/$name"
  [ "$(stat -c %s "out/monday/$name")" -eq "$size" ] || fail "$name is not one $size-byte record"
done
[ ! -e config ] && [ ! -e data ] || fail "the export touched the settings or the save folder"

# The same date gives the same bytes; another date another board.
"$bin" --export-daily=2026-12-07 --to="$work/again" >/dev/null 2>&1 || fail "second export failed"
cmp -s out/monday/level_n.dat again/level_n.dat && cmp -s out/monday/level_l.dat again/level_l.dat \
  || fail "the same date gave another board"
"$bin" --export-daily=2026-12-08 --to=tuesday >/dev/null 2>&1 || fail "export of 2026-12-08 failed"
cmp -s out/monday/level_n.dat tuesday/level_n.dat && fail "two dates gave the same board"

"$bin" --export-daily=2026-02-29 --to=bad >/dev/null 2>err.txt; rc=$?
[ "$rc" -eq 1 ] || fail "a date that does not exist ended with $rc"
grep -q 'YYYY-MM-DD' err.txt || fail "no hint at the date's form: $(cat err.txt)"
[ ! -e bad ] || fail "a bad date still wrote files"

touch blocker
"$bin" --export-daily=2026-12-07 --to=blocker/sub >/dev/null 2>err.txt; rc=$?
[ "$rc" -eq 1 ] || fail "an unwritable folder ended with $rc"
grep -q 'cannot write' err.txt || fail "no message for the unwritable folder: $(cat err.txt)"
echo "daily export: ok"
