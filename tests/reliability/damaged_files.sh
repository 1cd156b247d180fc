#!/usr/bin/env bash
# The damaged-file matrix: the real program on SDL's dummy video driver, once
# per file it reads and per kind of damage, each run in a fresh home and a
# fresh copy of the data folder, each with a time limit. Every run must either
# go on until it is asked to close (and then close with code 0) or stop by
# itself with a message on stderr and code 0 or 1. A signal, a hang, or a
# saved game, score table or progress file changed by a run that never saved
# are failures.
# The level files, the saved game and the score table are only read in play:
# their cells play a demo (written by demogen from the stored solutions) that
# opens the level chooser, starts the level it shows (reading the saved
# game's score), draws a few cells, looks at the high-score table and ends,
# which saves the game. Such a run must end by itself, leave the score table
# and the progress file (it solves no board) as they were and leave a whole
# saved game.
# Usage: damaged_files.sh <lintwick> <data folder> [quick|full|<file>:<damage>...]
set -uo pipefail
bin=$(realpath "$1")
data=$(realpath "$2")
scope=${3:-quick}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
readonly kRunSeconds=1       # how long a started run goes on before it is closed
readonly kStartLimit=30      # seconds a run may take to start
readonly kCloseLimit=15      # seconds a run may take to close
readonly kHugeBytes=$((64 * 1024 * 1024))
readonly kDemoLimit=180      # seconds a played demo may take to end by itself: a hang, not a slow sanitizer build
readonly kSavedHeader=18     # bytes of a saved game before its link blocks
readonly kLinkBlocks=7
demogen=$(dirname "$bin")/tools/demogen/demogen
passed=0
failed=0

# The game's data files are read from the archive when it exists, else
# loose; a loose file is damaged in a data folder without the archive.
loose_files="properties/resources.xml images/menu_bkg.jpg images/button_normal.png images/hint_bkg.gif
  images/cursor_hand.tga fonts/default.txt fonts/default.png sounds/gui_click.ogg music/game.ogg
  levels/level_b.dat levels/level_n.dat levels/level_l.dat"
user_files="settings.reg save/game.dat save/score.dat save/progress.dat demo"
damages="missing empty truncated-1 truncated-half truncated-last random flipped huge"
cells=
if [[ $scope == *:* ]]; then
  cells="${*:3}"  # the cells named
elif [ "$scope" = quick ]; then
  # A few cells of each kind, small enough for every test run.
  cells="properties/resources.xml:truncated-half properties/resources.xml:random demo:truncated-half
    demo:random save/game.dat:random save/progress.dat:flipped levels/level_n.dat:truncated-half"
fi

damage() { # file kind
  local file=$1 size
  size=$(stat -c %s "$file")
  case $2 in
    missing) rm -f "$file" ;;
    empty) : >"$file" ;;
    truncated-1) truncate -s 1 "$file" ;;
    truncated-half) truncate -s $((size / 2)) "$file" ;;
    truncated-last) truncate -s $((size > 0 ? size - 1 : 0)) "$file" ;;
    random) head -c "$size" /dev/urandom >"$file" ;;
    flipped)
      local at=$((RANDOM * 32768 + RANDOM))
      at=$((size > 0 ? at % size : 0))
      local byte
      byte=$(od -An -tu1 -j "$at" -N1 "$file" | tr -d ' ')
      printf "$(printf '\\%03o' $(((byte ^ 0x55) & 255)))" | dd of="$file" bs=1 seek="$at" conv=notrunc status=none
      ;;
    huge) truncate -s "$kHugeBytes" "$file" ;;
  esac
}

# A home with a settings file, a saved game, a score table and a demo, made
# by the program itself (the score table in the game's format), so that each
# of them is a good file to damage; and the demo that the cells of files read
# in play use, checked to reach play on the good files.
make_base() {
  base=$work/base
  mkdir -p "$base"
  local settings=$base/config/TamoGames/Lintwick/settings.reg
  HOME=$base XDG_CONFIG_HOME=$base/config XDG_DATA_HOME=$base/data \
    run_until_settled "$data" -record "-demofile=$base/base.dmo" || {
    echo "FAIL: the base run did not close cleanly: $outcome" >&2
    exit 1
  }
  [ -s "$settings" ] && [ -s "$base/base.dmo" ] || { echo "FAIL: the base run left no settings or demo" >&2; exit 1; }
  "$demogen" "$data/levels" "$work/new-game.dmo" base >/dev/null &&
    "$demogen" "$data/levels" "$work/play.dmo" matrix >/dev/null || { echo "FAIL: demogen failed" >&2; exit 1; }
  # A new game: level 1 solved, a few cells of level 2 drawn, saved on leaving.
  HOME=$base XDG_CONFIG_HOME=$base/config XDG_DATA_HOME=$base/data \
    run_demo "$data" "$work/new-game.dmo" && [ "$(saved_byte "$base" 0)" = 1 ] &&
    [ -s "$base/data/$kSaveFolder/progress.dat" ] || {
    echo "FAIL: the new game's demo left no saved game on level 2 or no progress: $outcome" >&2
    exit 1
  }
  local save=$base/data/$kSaveFolder
  local name
  for name in Wicker Tamo Zing Linty Cube Node; do
    printf "$(le32 $((${#name} * 1000)))$(le16 ${#name})%s" "$name"
  done >"$save/score.dat"
  # The cells' demo on the good files: it plays (three cells drawn on the
  # first link) and leaves the score table alone.
  rm -rf "$work/check" && cp -a "$base" "$work/check"
  HOME=$work/check XDG_CONFIG_HOME=$work/check/config XDG_DATA_HOME=$work/check/data \
    run_demo "$data" "$work/play.dmo" && [ "$(saved_byte "$work/check" $((kSavedHeader + 1)))" = 5 ] &&
    cmp -s "$save/score.dat" "$work/check/data/$kSaveFolder/score.dat" || {
    echo "FAIL: the cells' demo did not play on the good files: $outcome" >&2
    exit 1
  }
}

readonly kSaveFolder='Tamo Games/Lintwick/save'
le32() { printf '\\%03o\\%03o\\%03o\\%03o' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
le16() { printf '\\%03o\\%03o' $(($1 & 255)) $(($1 >> 8 & 255)); }
# saved_byte HOME OFFSET: one byte of the saved game in that home.
saved_byte() { od -An -tu1 -j "$2" -N1 "$1/data/$kSaveFolder/game.dat" 2>/dev/null | tr -d ' '; }

# Whole: the header and seven link blocks, each as long as it says, on a
# level that exists; nothing after them.
whole_saved_game() { # file
  local -a b
  read -r -a b <<<"$(od -An -v -tu1 "$1" | tr -s ' \n' ' ')"
  [ "${#b[@]}" -ge "$kSavedHeader" ] && [ "${b[0]}" -lt 100 ] || return 1
  local at=$kSavedHeader link
  for ((link = 0; link < kLinkBlocks; link++)); do
    [ $((at + 2)) -le "${#b[@]}" ] || return 1
    at=$((at + 2 + b[at + 1]))
  done
  [ "$at" -eq "${#b[@]}" ]
}
# Starts the program, waits until it has written its settings (it has then
# started up) or has ended, lets it run a moment, asks it to close. Sets
# `outcome`; answers false for a failure.
run_until_settled() { # data folder, arguments...
  local folder=$1
  shift
  local err=$work/stderr settings=$XDG_CONFIG_HOME/TamoGames/Lintwick/settings.reg
  local before=
  [ -f "$settings" ] && before=$(stat -c %Y.%s "$settings")
  (cd "$folder" && exec "$bin" "$@" 2>"$err" >/dev/null) &
  pid=$!
  local waited=0
  while kill -0 "$pid" 2>/dev/null && [ "$waited" -lt $((kStartLimit * 10)) ]; do
    if grep -qs '"InProgress"=dword:00000001' "$settings" && [ "$(stat -c %Y.%s "$settings" 2>/dev/null)" != "$before" ]; then break; fi
    sleep 0.1
    waited=$((waited + 1))
  done
  local ended=
  if kill -0 "$pid" 2>/dev/null; then
    sleep "$kRunSeconds"
    kill -TERM "$pid" 2>/dev/null
    waited=0
    while kill -0 "$pid" 2>/dev/null && [ "$waited" -lt $((kCloseLimit * 10)) ]; do
      sleep 0.1
      waited=$((waited + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
      kill -9 "$pid"
      wait "$pid" 2>/dev/null
      pid=
      outcome="hang: still running ${kCloseLimit}s after the close request"
      return 1
    fi
  else
    ended=1
  fi
  wait "$pid"
  local rc=$?
  pid=
  local message
  message=$(grep -v '^ALSA\|^AL lib' "$err" | head -1)
  if [ "$rc" -ge 128 ]; then
    outcome="signal $((rc - 128)): $message"
    return 1
  fi
  if [ -n "$ended" ]; then
    outcome="stopped, code $rc: ${message:-(no message)}"
    [ "$rc" -le 1 ] && [ -n "$message" ]
    return
  fi
  outcome="ran on, closed with code $rc${message:+; said: $message}"
  [ "$rc" -eq 0 ]
}

# Plays a demo to its end. Sets `outcome`; answers false for a failure.
run_demo() { # data folder, demo
  local err=$work/stderr
  (cd "$1" && exec timeout -s KILL "$kDemoLimit" "$bin" -play "-demofile=$2" 2>"$err" >/dev/null)
  local rc=$?
  local message
  message=$(grep -v '^ALSA\|^AL lib' "$err" | head -1)
  if [ "$rc" -eq 137 ]; then
    outcome="hang: the demo had not ended after ${kDemoLimit}s"
    return 1
  fi
  if [ "$rc" -ge 128 ]; then
    outcome="signal $((rc - 128)): $message"
    return 1
  fi
  outcome="played the demo to its end, code $rc${message:+; said: $message}"
  [ "$rc" -le 1 ]
}

run_case() { # target damage
  local target=$1 kind=$2 home=$work/case
  rm -rf "$home"
  cp -a "$work/base" "$home"
  local folder=$home/gamedata args=()
  local save=$home/data/$kSaveFolder
  case $target in
    main.pak) cp -a "$data" "$folder" ;;
    settings.reg | save/* | demo) ln -s "$data" "$folder" ;;
    *) cp -a "$data" "$folder" && rm -f "$folder/main.pak" ;;
  esac
  local file
  case $target in
    main.pak) file=$folder/main.pak ;;
    settings.reg) file=$home/config/TamoGames/Lintwick/settings.reg ;;
    save/*) file=$home/data/${kSaveFolder%/save}/$target ;;
    demo) file=$home/base.dmo args=(-play "-demofile=$home/base.dmo") ;;
    *) file=$folder/$target ;;
  esac
  damage "$file" "$kind"
  local keep=$work/keep
  rm -rf "$keep" && cp -a "$save" "$keep"
  local ok=1
  export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
  case $target in
    levels/* | save/*)
      run_demo "$folder" "$work/play.dmo" || ok=
      if ! cmp -s "$keep/score.dat" "$save/score.dat" 2>/dev/null && [ -e "$keep/score.dat" ]; then
        outcome="$outcome; the score table changed"
        ok=
      elif [ -e "$keep/progress.dat" ] && ! cmp -s "$keep/progress.dat" "$save/progress.dat"; then
        outcome="$outcome; the progress file changed though no board was solved"
        ok=
      elif [ ! -e "$save/game.dat" ]; then
        outcome="$outcome; no saved game"
      elif cmp -s "$keep/game.dat" "$save/game.dat"; then
        outcome="$outcome; the saved game left as it was"
      elif ! whole_saved_game "$save/game.dat"; then
        outcome="$outcome; the saved game it wrote is not whole"
        ok=
      else
        outcome="$outcome; saved level $(($(saved_byte "$home" 0) + 1)), $(saved_byte "$home" $((kSavedHeader + 1))) pieces on link 1"
      fi
      ;;
    *)
      run_until_settled "$folder" "${args[@]}" || ok=
      if ! diff -r "$keep" "$save" >/dev/null; then
        outcome="$outcome; the saved game or score table changed"
        ok=
      fi
      ;;
  esac
  if [ -n "$ok" ]; then
    passed=$((passed + 1))
    printf '| %-26s | %-14s | pass | %s |\n' "$target" "$kind" "$outcome"
  else
    failed=$((failed + 1))
    printf '| %-26s | %-14s | FAIL | %s |\n' "$target" "$kind" "$outcome"
  fi
}

make_base
echo "| file | damage | result | what happened |"
echo "|---|---|---|---|"
if [ -z "$cells" ]; then
  for target in main.pak $loose_files $user_files; do
    for kind in $damages; do cells="$cells $target:$kind"; done
  done
fi
for cell in $cells; do
  run_case "${cell%%:*}" "${cell#*:}"
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
