#!/usr/bin/env bash
# Starts the real program, checks that it runs, that a second start hands over
# to the first and exits 0, and that it closes cleanly and keeps its settings;
# headless, also that --help and --version need no display, and that a start
# without any display says so and ends with 1.
# Usage: lintwick_e2e.sh headless|xvfb <path to lintwick>
# (xvfb starts a private X server and runs the checks again in mode x11.)
set -uo pipefail
mode=$1
bin=$2

work=$(mktemp -d)
trap 'kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
export SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
mkdir -m 700 "$XDG_RUNTIME_DIR"
pid=

fail() { echo "FAIL: $*" >&2; exit 1; }

# holds_lock: the program has taken its single-instance lock (an abstract
# socket named after the program, among the sockets the process holds), so a
# second start finds it.
holds_lock() {
  local inode
  for inode in $(find "/proc/$pid/fd" -lname 'socket:*' -printf '%l\n' 2>/dev/null | tr -dc '0-9\n'); do
    grep -q " $inode @zing-.*-LintwickMutex\$" /proc/net/unix && return 0
  done
  return 1
}

run_checks() {
  "$bin" & pid=$!
  local ready=
  for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
    if holds_lock; then ready=1; break; fi
    sleep 0.1
  done
  [ -n "$ready" ] || fail "the program never took its single-instance lock"
  if [ "$mode" = x11 ]; then
    found=
    for _ in $(seq 600); do
      if xdotool search --name '^Lintwick 1\.0\.3$' >/dev/null 2>&1; then found=1; break; fi
      kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared"
      sleep 0.1
    done
    [ -n "$found" ] || fail "no window titled 'Lintwick 1.0.3'"
    # The accelerated renderer of this server would draw on the processor, so
    # the program presents without it and maps no graphics driver at all.
    if grep -E 'libGL|libEGL|libLLVM|_dri\.so' "/proc/$pid/maps" >&2; then
      fail "the program mapped a graphics driver"
    fi
  fi

  timeout 20 "$bin"; second=$?
  [ "$second" -eq 0 ] || fail "the second instance exited with $second"
  kill -0 "$pid" 2>/dev/null || fail "the first instance died when the second started"

  # A termination request closes the window the way the close button does.
  kill -TERM "$pid"
  wait "$pid"; rc=$?
  pid=
  [ "$rc" -eq 0 ] || fail "exit code $rc after closing"

  settings=$XDG_CONFIG_HOME/TamoGames/Lintwick/settings.reg
  [ -f "$settings" ] || fail "no settings file at $settings"
  grep -q '"InProgress"=dword:00000000' "$settings" || fail "the run was not recorded as ended normally"
  grep -q '"ScreenMode"=dword:' "$settings" || fail "the screen mode was not saved"
  echo "1 passed, 0 failed"
}

# Without a display and without a driver asked for by name, the program says
# so in one line and ends with 1 at once, leaving the settings as they were.
check_no_display() {
  local dir=$XDG_CONFIG_HOME/TamoGames/Lintwick err=$work/no-display.err rc
  mkdir -p "$dir"
  printf '"ScreenMode"=dword:00000000\n' >"$dir/settings.reg"
  local before
  before=$(cksum <"$dir/settings.reg")
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 30 "$bin" 2>"$err"; rc=$?
  [ "$rc" -eq 1 ] || fail "without a display the program ended with $rc, not 1"
  grep -qx 'Lintwick needs a graphical desktop: no display was found (DISPLAY and WAYLAND_DISPLAY are not set)\.' \
    "$err" || fail "without a display, standard error said: $(cat "$err")"
  [ "$(cksum <"$dir/settings.reg")" = "$before" ] || fail "the settings changed on a start without a display"
  [ ! -e "$XDG_DATA_HOME" ] || fail "a start without a display made the data folder"
  rm -r "$XDG_CONFIG_HOME"
}

# --help and --version on a bare terminal: no display, no session, nothing on
# standard error, and the text ends its last line.
check_information_options() {
  local option out err
  for option in --help --version; do
    out=$work/out$option err=$work/err$option
    env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER "$bin" $option >"$out" 2>"$err" ||
      fail "$option exited with $?"
    [ -s "$err" ] && fail "$option wrote to standard error: $(cat "$err")"
    [ -s "$out" ] && [ "$(tail -c 1 "$out" | od -An -tx1 | tr -d ' \n')" = 0a ] ||
      fail "$option printed no text ending in a newline"
  done
}

if [ "$mode" = xvfb ]; then
  unset SDL_VIDEODRIVER
  exec "$(dirname "$0")/with_xvfb.sh" 1280x1024x24 "$0" x11 "$bin"
elif [ "$mode" = x11 ]; then
  run_checks
else
  check_information_options
  check_no_display
  export SDL_VIDEODRIVER=dummy
  run_checks
fi
