#!/usr/bin/env bash
# Runs a command inside a Wine session of its own: a private Xvfb display, a dedicated
# WINEPREFIX under the build folder with Wine's virtual desktop and CJK fonts, and a
# persistent wineserver. Both are shut down by process id on every path. Inside an
# existing session (MOYUAN_WINE_SESSION set) the command simply runs.
#
#   MOYUAN_WINE_BUILD   build folder that holds the prefix (default: build/win64)
#   MOYUAN_DESKTOP      virtual desktop size, e.g. 1920x1080 (default 1024x768)
set -euo pipefail

if [ -n "${MOYUAN_WINE_SESSION:-}" ]; then exec "$@"; fi

here=$(cd "$(dirname "$0")/.." && pwd)
build=${MOYUAN_WINE_BUILD:-$here/build/win64}
desktop=${MOYUAN_DESKTOP:-1024x768}
mkdir -p "$build"

export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8
export WINESERVER=/usr/lib/wine/wineserver64
wine=/usr/lib/wine/wine64

# One session at a time per prefix: two sessions would share one wineserver and stop each
# other's programs.
exec 9>"$build/wine-session.lock"
flock 9

session=$(mktemp -d "$build/wine-session.XXXXXX")
xvfb_pid=""
cleanup() {
  local rc=$?
  # Stop the wineserver of this prefix (and every Wine process of it), then the display.
  "$WINESERVER" -k >/dev/null 2>&1 || true
  timeout 20 "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$session"
  exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A free display number, chosen by the X server itself.
Xvfb -displayfd 4 -screen 0 "${desktop}x24" -nolisten tcp -nolisten unix 4>"$session/display" \
  >"$session/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$session/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$session/xvfb.log" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=:$(head -n1 "$session/display")

wine_quiet() { "$wine" "$@" </dev/null >/dev/null 2>&1; }

MOYUAN_WINE=$wine "$here/tools/wine-prefix.sh"
# Wine draws frames itself on a virtual desktop, where X and Windows coordinates coincide.
# The desktop is made when Wine boots, so the setting goes in first and Wine restarts.
wine_quiet reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
wine_quiet reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop" /f
"$WINESERVER" -k >/dev/null 2>&1 || true
"$WINESERVER" -w

# Boot Wine before the command, so its helper processes do not inherit the command's pipes.
"$WINESERVER" -p
wine_quiet wineboot

export MOYUAN_WINE_SESSION=$session
export MOYUAN_WINE=$wine
set +e
"$@"
