#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a player gets:
# the files, their validators, and the installed program starting from a
# folder without game data, in a window of twice 640 x 480 with crisp pixels.
# Usage: install_test.sh <build folder> <application id> <xprobe>
set -uo pipefail
if [ "${1:-}" != inner ]; then
  unset SDL_VIDEODRIVER
  # A 1400 x 1050 screen holds the picture twice over, title bar included.
  exec "$(dirname "$0")/../e2e/with_xvfb.sh" 1400x1050x24 "$0" inner "$@"
fi
shift
build=$1
id=$2
probe=$3

work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }

[ -x "$prefix/bin/lintwick" ] || fail "no bin/lintwick"
for f in share/lintwick/main.pak "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
  share/man/man6/lintwick.6.gz share/doc/lintwick/README.md "share/icons/hicolor/scalable/apps/$id.svg"; do
  [ -s "$prefix/$f" ] || fail "no $f"
done
# Each PNG icon is as large as its folder says (the width and height of the
# PNG header, bytes 16 to 23).
for size in 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -s "$icon" ] || fail "no ${size}x${size} icon"
  read -r -a dims <<<"$(od -An -v -tu1 -j16 -N8 "$icon")"
  [ "$((dims[2] * 256 + dims[3]))x$((dims[6] * 256 + dims[7]))" = "${size}x${size}" ] ||
    fail "the ${size}x${size} icon measures ${dims[*]}"
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
fi
if command -v groff >/dev/null; then
  warnings=$(gzip -dc "$prefix/share/man/man6/lintwick.6.gz" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "the manual page: $warnings"
fi

# The installed program, from a folder that holds no game data, in a window
# (a first run would take the full screen).
mkdir -p "$XDG_CONFIG_HOME/TamoGames/Lintwick" "$work/elsewhere"
printf '"ScreenMode"=dword:00000000\n' >"$XDG_CONFIG_HOME/TamoGames/Lintwick/settings.reg"
cd "$work/elsewhere" || fail "no folder"
"$prefix/bin/lintwick" & pid=$!
win=
for _ in $(seq 600); do
  win=$("$probe" find 'Lintwick 1.0.3' 2>/dev/null) && break
  kill -0 "$pid" 2>/dev/null || fail "the installed program ended before its window appeared"
  sleep 0.05
done
[ -n "$win" ] || fail "no window titled 'Lintwick 1.0.3'"
# The splash: the picture is black until it is drawn (and cannot be read
# while the window is not yet shown). The probe reads the game's 640 x 480
# picture wherever the window shows it.
drawn=
for _ in $(seq 1200); do
  picture=$("$probe" sum "$win" 0 0 640 480 2>/dev/null) && [ "$picture" != 0 ] && { drawn=1; break; }
  kill -0 "$pid" 2>/dev/null || fail "the installed program ended before its splash"
  sleep 0.05
done
[ -n "$drawn" ] || fail "the splash was never drawn"
read -r width height mixed <<<"$("$probe" crisp "$win" 2)"
[ "${width}x${height}" = 1280x960 ] || fail "the window measures ${width}x${height}, not 1280x960"
[ "$mixed" = 0 ] || fail "$mixed squares of 2 x 2 screen pixels are not of one colour"

"$probe" close "$win"
wait "$pid"; rc=$?
pid=
[ "$rc" -eq 0 ] || fail "exit code $rc after the close button"
[ -f "$XDG_CONFIG_HOME/TamoGames/Lintwick/settings.reg" ] || fail "no settings were written"
echo "1 passed, 0 failed"
