#!/usr/bin/env bash
# The game's resident memory at its start screen, in a private X server:
# once with hardware acceleration switched off and once with it on, each from
# a fresh home. Prints the summary line
#   memory: start screen resident A MB (accelerated B MB)
# Usage: start_screen_memory.sh <lintwick> <xprobe>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != inner ]; then
  unset SDL_VIDEODRIVER
  exec "$here/../tests/e2e/with_xvfb.sh" 1280x1024x24 "$0" inner "$@"
fi
bin=$2
probe=$3

work=$(mktemp -d)
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
# shellcheck source=tests/e2e/xdrive.sh
source "$here/../tests/e2e/xdrive.sh"

# resident IS3D: the program's resident set in MB at the start screen with
# "Is3D" set to IS3D, read once the picture stands still; into $mb.
resident() {
  private_home "$work/is3d-$1"
  mkdir -p "$(dirname "$settings")"
  printf '"ScreenMode"=dword:00000000\n"WindowScale"=dword:00000001\n"Is3D"=dword:0000000%s\n' "$1" >"$settings"
  launch
  leave_splash
  move 630 470
  wait_still 30 0 0 640 480 || fail "the start screen never stood still"
  local kb
  kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
  close_program
  mb=$(awk -v kb="$kb" 'BEGIN { printf "%.1f", kb / 1024 }')
}

resident 0
off=$mb
resident 1
on=$mb
echo "memory: start screen resident $off MB (accelerated $on MB)"
