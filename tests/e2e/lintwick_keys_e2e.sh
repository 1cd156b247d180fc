#!/usr/bin/env bash
# Fast strokes and the keyboard in the real program, in a private X server.
# Level 1 is drawn with one quick stroke per link: a click on the start node
# and, at once, one jump of the pointer to each corner of the path and to the
# target, without waiting for a single piece. Level 2 is drawn with the keys
# alone, after the pointer has come to rest on the first link's start node:
# Enter there, the arrows along the stored solution, the arrows on to the
# next start node. Each level must come to its end (the panel's level label
# changes). Every step waits for the picture, never for a fixed time.
# Usage: lintwick_keys_e2e.sh <lintwick> <xprobe> <data folder>
set -uo pipefail
if [ "${1:-}" != inner ]; then
  unset SDL_VIDEODRIVER
  exec "$(dirname "$0")/with_xvfb.sh" 1024x768x24 "$0" inner "$@"
fi
shift
bin=$1
probe=$2
levels=$3/levels

work=$(mktemp -d)
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
# shellcheck source=tests/e2e/xdrive.sh
source "$(dirname "$0")/xdrive.sh"
private_home "$work"
window_settings

# read_level INDEX: the nodes and solution of a level from the level files.
read_level() {
  read -r -a nodes <<<"$(od -An -v -tu1 -j$((16 * $1)) -N16 "$levels/level_n.dat" | tr -s " \n" " ")"
  read -r -a solution <<<"$(od -An -v -tu1 -j$((100 * $1)) -N100 "$levels/level_l.dat" | tr -s " \n" " ")"
  [ "${#nodes[@]}" -eq 16 ] && [ "${#solution[@]}" -eq 100 ] || fail "no level $1 in $levels"
}
# path_of LINK: the cells of the link from its start node to its target.
path_of() {
  local link=$1 offset=0 l i
  for ((l = 0; l < link; l++)); do offset=$((offset + 1 + solution[offset])); done
  path=("${nodes[$((2 + 2 * link))]}")
  for ((i = 1; i <= solution[offset]; i++)); do path+=("${solution[$((offset + i))]}"); done
  path+=("${nodes[$((1 + 2 * link))]}")
}
# window_point CODE: the cell's centre in the window's coordinates.
window_point() { "$probe" point "$win" "$(cell_x "$1")" "$(cell_y "$1")" || fail "the window is gone"; }
# next_level LABEL: waits until the panel's level label leaves LABEL and the
# new board has come to rest.
next_level() {
  local closed
  wait_change "$1" 60 55 31 110 17 || fail "the level was not finished"
  # The label changes behind the closed shutters; a corner of the board
  # under the upper shutter changes when they open.
  closed=$(sum 420 20 40 40) || fail "the board cannot be read"
  wait_change "$closed" 60 420 20 40 40 || fail "the shutters never opened"
  # shellcheck disable=SC2086
  wait_still 120 $BOARD || fail "the next level never came to rest"
}

launch
leave_splash
new_game

# Level 1: one stroke per link. The corners are where the path turns.
read_level 0
level_label=$(sum 55 31 110 17) || fail "the panel cannot be read"
for ((link = 0; 2 * link < nodes[0]; link++)); do
  path_of "$link"
  # shellcheck disable=SC2086
  wait_still 30 $BOARD || fail "the board never came to rest before link $link"
  stroke=(mousemove --window "$win" $(window_point "${path[0]}") click 1)
  last=${#path[@]}
  for ((i = 1; i < last; i++)); do
    prev=${path[$((i - 1))]} cell=${path[$i]}
    if [ "$i" -lt $((last - 1)) ]; then
      next=${path[$((i + 1))]}
      # Still in line with the cells before and after: no corner here.
      [ $((cell - prev)) -eq $((next - cell)) ] && continue
    fi
    stroke+=(mousemove --window "$win" $(window_point "$cell"))
  done
  xdotool "${stroke[@]}"
done
next_level "$level_label"

# Level 2 with the keys: the pointer rests on the first start node, then
# only keys. A new link is begun once the last one's cube has settled.
read_level 1
level_label=$(sum 55 31 110 17) || fail "the panel cannot be read"
path_of 0
# shellcheck disable=SC2046
node=$(sum $(cell_rect "${path[0]}")) || fail "the board cannot be read"
move "$(cell_x "${path[0]}")" "$(cell_y "${path[0]}")"
# shellcheck disable=SC2046
wait_change "$node" 10 $(cell_rect "${path[0]}") || fail "the start node never showed the pointer's highlight"
xdotool windowfocus --sync "$win" 2>/dev/null || true
here=${path[0]}
for ((link = 0; 2 * link < nodes[0]; link++)); do
  path_of "$link"
  keys=()
  # The highlight to the start node: columns, then rows.
  for ((c = here >> 4; c < path[0] >> 4; c++)); do keys+=(Right); done
  for ((c = here >> 4; c > path[0] >> 4; c--)); do keys+=(Left); done
  for ((r = here & 15; r < (path[0] & 15); r++)); do keys+=(Down); done
  for ((r = here & 15; r > (path[0] & 15); r--)); do keys+=(Up); done
  keys+=(Return)
  for ((i = 1; i < ${#path[@]}; i++)); do
    case $((path[i] - path[i - 1])) in
      16) keys+=(Right) ;;
      -16) keys+=(Left) ;;
      1) keys+=(Down) ;;
      -1) keys+=(Up) ;;
      *) fail "the stored path of link $link is not a walk" ;;
    esac
  done
  here=${path[$((${#path[@]} - 1))]}
  # shellcheck disable=SC2086
  wait_still 30 $BOARD || fail "the board never came to rest before link $link of level 2"
  xdotool key --delay 40 "${keys[@]}"
done
next_level "$level_label"

close_program
echo "1 passed, 0 failed"
