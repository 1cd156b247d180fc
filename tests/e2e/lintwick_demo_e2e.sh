#!/usr/bin/env bash
# Records a played level with the real program in a private X server (the
# level-play script drives it with the mouse and closes the window), then
# plays the recording back on SDL's dummy video driver in a fresh home, where
# no settings and no saved game exist. The playback must end by itself, with
# code 0, in the same saved game, byte for byte.
# Usage: lintwick_demo_e2e.sh <lintwick> <xprobe> <data folder>
set -uo pipefail
bin=$1
probe=$2
data=$3
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The program as the play script starts it: its first run records into a
# demo whose name has a blank and keeps the saved game that the play script's
# home loses; a later run (the script's check of Continue) is not recorded.
demo="$out/played level.dmo"
cat >"$out/lintwick-recording" <<EOF
#!/usr/bin/env bash
[ -e "$out/recorded.dat" ] && exec "$bin" "\$@"
"$bin" -record "-demofile=$demo" "\$@"
rc=\$?
saved=\$(find "\$XDG_DATA_HOME" -name game.dat | head -1)
[ -n "\$saved" ] && cp "\$saved" "$out/recorded.dat"
exit \$rc
EOF
chmod +x "$out/lintwick-recording"

"$here/lintwick_play_e2e.sh" "$out/lintwick-recording" "$probe" "$data" || fail "recording the played level failed"
[ -s "$demo" ] || fail "no demo file was written"
[ -s "$out/recorded.dat" ] || fail "the recorded run left no saved game"

home=$out/playback
mkdir -p "$home"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
timeout 500 "$bin" -play "-demofile=$demo"
rc=$?
[ "$rc" -eq 0 ] || fail "the playback ended with code $rc"
saved=$(find "$XDG_DATA_HOME" -name game.dat | head -1)
[ -n "$saved" ] || fail "the playback left no saved game"
cmp "$saved" "$out/recorded.dat" || fail "the playback's saved game differs from the recording's"
echo "1 passed, 0 failed"
