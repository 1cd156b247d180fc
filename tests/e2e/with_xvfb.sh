#!/usr/bin/env bash
# with_xvfb.sh WxHxD COMMAND...: runs COMMAND with DISPLAY set to a private X
# server of that screen size, and stops the server afterwards. The server picks
# its own free display number (-displayfd), so several end-to-end runs on one
# machine never share or race for a display, as `xvfb-run -a` can.
set -u
screen=$1
shift
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$fifo"' EXIT
# The server writes its display number once it accepts connections.
read -r -t 60 number <"$fifo" || { echo "FAIL: the X server did not start" >&2; exit 1; }
DISPLAY=":$number" "$@"
