#!/usr/bin/env bash
# `lintwick --stats` end to end: the real program prints the progress kept in
# the save folder and exits 0, without a screen (no display, no video driver)
# and without writing anything; a damaged file prints zeros, says so on
# standard error and is left as it was.
# Usage: lintwick_stats_e2e.sh <path to lintwick>
set -uo pipefail
bin=$1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
save=$work/data/Tamo\ Games/Lintwick/save

fail() { echo "FAIL: $*" >&2; exit 1; }

# expect OUTPUT-LINES...: runs --stats, checks code 0 and the exact lines.
expect() {
  local out code
  out=$("$bin" --stats 2>"$work/err")
  code=$?
  [ "$code" -eq 0 ] || fail "exit code $code: $(cat "$work/err")"
  [ "$out" = "$(printf '%s\n' "$@")" ] || fail "printed:
$out
expected:
$(printf '%s\n' "$@")"
}

# No progress yet: zeros, and nothing is created.
expect "solved: 0 of 100" "perfect: 0 of 100" "points: 0" "daily: streak 0, best 0, today open"
[ -z "$(find "$work" -mindepth 1 -not -name err)" ] || fail "--stats wrote files: $(find "$work" -mindepth 1)"

# Three boards solved, two of them perfectly, and today's daily board perfectly
# on a run of four days (the layout the reader describes; today is the local date).
mkdir -p "$save"
python3 - "$save/progress.dat" <<'PY'
import datetime, struct, sys, zlib
def board(level, flags, best, kept, pieces):
    return struct.pack("<BBHHB", level, flags, best, kept, len(pieces)) + bytes(b for p in pieces for b in p)
boards = board(0, 3, 500, 500, [(0, 0x01)]) + board(41, 1, 2300, 2200, []) + board(99, 3, 4800, 4800, [(6, 0x99)])
today = (datetime.date.today() - datetime.date(1970, 1, 1)).days
daily = struct.pack("<BiII", 3, today, 4, 6)
body = (struct.pack("<HI", 1, len(boards)) + boards + struct.pack("<HI", 2, len(daily)) + daily
        + struct.pack("<HI", 9, 3) + b"\x01\x02\x03")
open(sys.argv[1], "wb").write(b"LWPG" + struct.pack("<HI", 1, zlib.crc32(body)) + body)
PY
expect "solved: 3 of 100" "perfect: 2 of 100" "points: 7600" "daily: streak 4, best 6, today perfect"
[ -s "$work/err" ] && fail "a sound file gave a message: $(cat "$work/err")"

# The same file cut short: zeros, a message, the file untouched; option names
# are not case-sensitive.
head -c 20 "$save/progress.dat" >"$work/cut" && cp "$work/cut" "$save/progress.dat"
out=$("$bin" --STATS 2>"$work/err") || fail "a damaged file ended with code $?"
[ "$(echo "$out" | head -1)" = "solved: 0 of 100" ] || fail "a damaged file printed: $out"
grep -q "progress.dat could not be read" "$work/err" || fail "no message for a damaged file"
cmp -s "$work/cut" "$save/progress.dat" || fail "the damaged file was changed"

# Output that cannot be written (a full disk) ends with code 1.
"$bin" --stats >/dev/full 2>/dev/null
code=$?
[ "$code" -eq 1 ] || fail "a failed write ended with code $code"
echo "ok"
