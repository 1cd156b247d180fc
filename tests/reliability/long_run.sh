#!/usr/bin/env bash
# The long run: the real program plays a new game through the first LEVELS
# levels (all 100 by default) from a demo that demogen writes from the stored
# solutions: left for the start screen and continued after every tenth level,
# and after the hundredth the high-score table closed. It runs in a private X
# server, where the playback keys jump ahead: to the moment after level 10 was
# saved and to the final table, where the game keeps its own pace for a
# moment while its resident memory is read from /proc, then at full speed to
# the end. It reports those two figures, their difference and the peak. Any
# sanitizer report (leaks included), a signal or an exit code other than 0
# fails, and so does a game that did not get as far as the demo plays it.
# Usage: long_run.sh <build folder> [levels]
set -uo pipefail
if [ "${1:-}" != inner ]; then
  unset SDL_VIDEODRIVER
  exec "$(dirname "$0")/../e2e/with_xvfb.sh" 1024x768x24 "$0" inner "$@"
fi
shift
build=$(realpath "$1")
levels=${2:-100}
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
export SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/tests/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
save=$XDG_DATA_HOME/Tamo\ Games/Lintwick/save
readonly kTenthLevel=10
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The X and GL libraries SDL opens at run time stay loaded to the end, so that
# a leak report inside them names its library and the suppressions apply.
preload=
for lib in libX11.so.6 libXext.so.6 libXcursor.so.1 libXi.so.6 libXrandr.so.2 libXss.so.1 libXfixes.so.3 \
  libGL.so.1 libGLX.so.0 libGLX_mesa.so.0 libGLdispatch.so.0 libglapi.so.0; do
  path=$(ldconfig -p | sed -n "s/^\t$lib (libc6,x86-64) => //p" | head -1)
  [ -n "$path" ] && preload="$preload${preload:+:}$path"
done
# Mesa's software driver, which the GL library opens by path.
for path in /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so; do
  [ -e "$path" ] && preload="$preload${preload:+:}$path"
done

demo=$work/long.dmo
"$build/tools/demogen/demogen" "$build/data/levels" "$demo" full "$levels" >"$work/markers" || fail "demogen failed"
marker() { sed -n "s/^marker \([0-9]*\) $1\$/\1/p" "$work/markers"; }

rss() { sed -n "s/^$1:[[:space:]]*\([0-9]*\) kB/\1/p" "/proc/$pid/status" 2>/dev/null; }
peak=0
sample_peak() {
  local hwm
  hwm=$(rss VmHWM)
  if [ -n "$hwm" ] && [ "$hwm" -gt "$peak" ]; then peak=$hwm; fi
}
alive() { kill -0 "$pid" 2>/dev/null; }
saved_level() { od -An -tu1 -N1 "$save/game.dat" 2>/dev/null | tr -d ' '; }
# wait_for TEST...: until the test holds, while the program runs.
wait_for() {
  while alive && ! "$@"; do
    sample_peak
    sleep 0.1
  done
  "$@"
}
at_level_saved() { [ "$(saved_level)" = "$1" ]; }
scores_written() { [ -s "$save/score.dat" ]; }

# The playback keys reach the window once it has the focus: "J", a time and
# Enter jump to that time, from where the playback keeps the game's pace;
# "M" runs on to the end at full speed.
focus() {
  local win=
  for _ in $(seq 600); do
    win=$(xdotool search --onlyvisible --name '^Lintwick 1\.0\.3$' 2>/dev/null | head -1)
    [ -n "$win" ] && break
    alive || return 1
    sleep 0.1
  done
  [ -n "$win" ] || return 1
  for _ in $(seq 50); do
    xdotool windowfocus "$win" 2>/dev/null
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$win" ] && return 0
    sleep 0.1
  done
  return 1
}
jump_to() { # update: a second past it
  local s=$(($1 / 100 + 1))
  xdotool key j
  xdotool type "$((s / 3600)):$((s / 60 % 60)):$((s % 60))"
  xdotool key Return
}
# The memory once the game stands on a level at its own pace.
settled_rss() {
  sleep 1
  rss VmRSS
}

start=$(date +%s)
(cd "$build/data" && LD_PRELOAD=$preload exec "$build/lintwick" -play "-demofile=$demo" 2>"$work/stderr" >/dev/null) &
pid=$!
focus || echo "the window took no focus: the run keeps the game's pace" >&2
tenth=$(marker "level $kTenthLevel saved")
scores_at=$(marker "final scores")
if [ "$levels" -ge "$kTenthLevel" ] && [ -z "$tenth" ]; then fail "the demo has no marker after level $kTenthLevel"; fi
if [ "$levels" -eq 100 ] && [ -z "$scores_at" ]; then fail "the demo has no marker at the final scores"; fi
rss10=
rss_end=
if [ -n "$tenth" ]; then
  jump_to "$tenth"
  wait_for at_level_saved "$kTenthLevel" && rss10=$(settled_rss)
fi
if [ -n "$scores_at" ]; then
  jump_to "$scores_at"
  wait_for scores_written && rss_end=$(settled_rss)
fi
sample_peak
[ -n "$rss_end" ] || rss_end=$(rss VmRSS)
xdotool key m
wait_for false
wait "$pid"
rc=$?
pid=
seconds=$(($(date +%s) - start))
cp "$work/stderr" "$build/long-run.stderr"
grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$work/stderr" && fail "a sanitizer report: $build/long-run.stderr"
[ "$rc" -eq 0 ] || fail "the program ended with code $rc: $(head -5 "$work/stderr")"

# The game's own state at the end: past the hundredth level the game is over
# (the final score is in the table and the saved game is back on level 1);
# otherwise the saved game stands on the level after the last one played.
final=$(od -An -tu1 -N1 "$save/game.dat" 2>/dev/null | tr -d ' ')
if [ "$levels" -eq 100 ]; then
  [ -s "$save/score.dat" ] || fail "the game did not reach the high-score table"
  [ "$final" = 0 ] || fail "the finished game saved level index $final"
else
  [ "$final" = "$levels" ] || fail "the saved game stands on level index ${final:-none}, not $levels"
fi
growth=
[ -n "$rss10" ] && [ -n "$rss_end" ] && growth=$((rss_end - rss10))
score=$(od -An -td4 -N4 "$save/score.dat" 2>/dev/null | tr -d ' ')
echo "long run: $levels levels in ${seconds} s${score:+, final score $score}, exit 0, no sanitizer report; peak RSS ${peak} kB;" \
  "RSS at level $kTenthLevel ${rss10:-n/a} kB, at the end ${rss_end:-n/a} kB, growth ${growth:-n/a} kB"
