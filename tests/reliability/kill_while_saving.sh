#!/usr/bin/env bash
# Kills the real program with SIGKILL at random moments of its start, during
# which it rewrites its settings file many times, and checks after every kill
# that the settings file is whole: the old file or a complete new one. A
# temporary left by a killed write must be gone after the next run's write.
# Usage: kill_while_saving.sh <build folder> [tries]
set -uo pipefail
build=$(realpath "$1")
tries=${2:-200}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
readonly kLatestKillMs=3000
folder=$XDG_CONFIG_HOME/TamoGames/Lintwick
settings=$folder/settings.reg
readonly kHeader='; Settings of this application, rewritten whole on every change.'
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Whole: the header, then only blank lines, key lines and value lines, every
# value the first complete run wrote still there, and a final line break.
is_whole() {
  [ "$(head -1 "$settings")" = "$kHeader" ] || return 1
  [ "$(tail -c 1 "$settings" | od -An -c | tr -d ' ')" = '\n' ] || return 1
  tail -n +2 "$settings" | grep -qvE '^$|^\[.*\]$|^("[^"]*"|@)=' && return 1
  local name
  for name in $names; do grep -q "^\"$name\"=" "$settings" || return 1; done
}

(cd "$build" && exec ./lintwick) &
pid=$!
for _ in $(seq 300); do grep -qs InProgress "$settings" && break; sleep 0.1; done
kill -TERM "$pid"
wait "$pid" || fail "the first run did not close cleanly"
pid=
names=$(sed -n 's/^"\([^"]*\)"=.*/\1/p' "$settings")
[ -n "$names" ] || fail "the first run wrote no settings"

leftover=0
for try in $(seq "$tries"); do
  (cd "$build" && exec ./lintwick 2>/dev/null) &
  pid=$!
  sleep "$(printf '0.%03d' $((RANDOM % 1000)))"
  sleep $((RANDOM % (kLatestKillMs / 1000)))
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pid=
  is_whole || fail "try $try: the settings file is not whole:
$(cat "$settings")"
  if compgen -G "$folder/settings.reg.*.tmp" >/dev/null; then leftover=$((leftover + 1)); fi
done

# A run that saves removes what killed runs left; it has saved once the
# settings file is another file than before.
before=$(stat -c %i "$settings")
(cd "$build" && exec ./lintwick) &
pid=$!
for _ in $(seq 300); do [ "$(stat -c %i "$settings")" != "$before" ] && break; sleep 0.1; done
sleep 0.5
kill -TERM "$pid"
wait "$pid" || fail "the closing run did not close cleanly"
pid=
is_whole || fail "the closing run left a settings file that is not whole"
if compgen -G "$folder/settings.reg.*.tmp" >/dev/null; then fail "temporaries of killed writes remain: $(ls "$folder")"; fi
echo "$tries kills, every settings file whole; $leftover kills landed inside a write and left a temporary, all removed by the next run"
