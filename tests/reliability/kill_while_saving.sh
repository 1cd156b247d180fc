#!/usr/bin/env bash
# Kills the real program with SIGKILL inside its saves and checks that every
# save file is then the old version or a new one, whole, and that the next run
# removes the temporaries the killed writes left.
#
# The program plays a demo (demogen's "final" scene) that writes all four
# save files: it continues a saved game whose last level is joined, so the
# level is solved (the progress file is written), the game ends and the score
# table is written, the saved game is written on leaving and the settings at
# start and at the end. A clean run under
# `strace -ff` shows, for the main thread, every step of every save (listing
# the folder and removing stale temporaries, creating the temporary, writing,
# syncing, renaming, syncing the folder) and the versions it renames into
# place. Each try then picks a save file and one step of its saves (seeded,
# the seed printed) and plays the demo again from the same home under strace
# with `-e inject=<syscall>:signal=KILL:when=<n>`: the n-th call of that
# syscall in the main thread (strace counts per thread; without -f only the
# main thread is traced) is killed on entry, before it runs. Every run starts
# from a fresh copy of the same home, with a stale temporary beside each
# file, so the versions are the clean run's.
# Usage: kill_while_saving.sh <build folder> [tries] [seed]
set -uo pipefail
build=$(realpath "$1")
tries=${2:-200}
seed=${3:-$RANDOM}
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
readonly kSaveCalls=openat,getdents64,unlink,write,fsync,newfstatat,fchmod,close,rename
readonly kRunLimit=120 # seconds a run of the demo may take; it ends by itself
state=$work/state.json
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
helper() { python3 "$here/kill_check.py" "$@"; }
command -v strace >/dev/null || fail "strace is missing (scripts/install-deps.sh installs it)"
# A container without the right to trace its own children cannot run this
# test at all: say so and let ctest count it as skipped, not passed.
strace -qq -o /dev/null true 2>/dev/null || {
  echo "SKIP: strace cannot trace here (ptrace not permitted)"
  exit 77
}

# play STRACE-OPTIONS...: the demo from a fresh copy of the base home.
play() {
  rm -rf "$HOME" && cp -a "$work/base" "$HOME"
  (cd "$build/data" && exec timeout -s KILL "$kRunLimit" strace -qq -xx -s 65536 -e trace="execve,$kSaveCalls" \
    "$@" "$build/lintwick" -play "-demofile=$work/demo.dmo" >/dev/null 2>&1)
}

"$build/tools/demogen/demogen" "$build/data/levels" "$work/demo.dmo" final >/dev/null || fail "demogen failed"
dead=$(sh -c 'echo $$') # a process that has ended: the owner of the stale temporaries
helper home "$build/data/levels" "$work/base" "$dead" || fail "cannot make the home"

mkdir "$work/clean"
play -ff -o "$work/clean/t" || fail "the clean run did not end with code 0"
echo "seed $seed"
helper plan "$work/clean/t" "$work/base" "$seed" "$tries" "$state" "$work/kills" || exit 1
helper final "$state" "$HOME" || fail "the clean run"

mkdir "$work/left"
try=0
while read -r syscall n; do
  play -o "$work/kill.trace" -e inject="$syscall:signal=KILL:when=$n" 2>/dev/null
  rc=$?
  [ "$rc" -eq 137 ] || fail "try $((try + 1)): the run was not killed at $syscall #$n (code $rc)"
  helper check "$state" "$try" "$work/kill.trace" "$HOME" "$work/left" || exit 1
  try=$((try + 1))
done <"$work/kills"

# The next run, from the same home with every temporary the kills left.
rm -rf "$HOME" && cp -a "$work/base" "$HOME" && cp -a "$work/left/." "$HOME"
left=$(find "$work/left" -name '*.tmp' | wc -l)
(cd "$build/data" && exec timeout -s KILL "$kRunLimit" "$build/lintwick" -play "-demofile=$work/demo.dmo" >/dev/null 2>&1) ||
  fail "the run after the kills did not end with code 0"
helper final "$state" "$HOME" || fail "the run after the kills"
helper summary "$state"
echo "the next run found the $left temporaries of the killed writes (and the home's stale ones) and left none"
