#!/usr/bin/env bash
# The run command. With a display, the program starts on it under Wine. Without one, a
# private virtual display plays the main use once by real X input and keeps a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/bootstrap.sh
MOYUAN_PRESETS="win64 win32" tools/build-all.sh

exe=build/win64/moyuan_capture.exe
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && [ -z "${MOYUAN_HEADLESS:-}" ]; then
  # A prefix of its own, without the tests' virtual desktop: windows go to this display.
  export WINEPREFIX=$PWD/build/win64/wineprefix-desktop WINEDEBUG=-all LANG=C.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml="
  tools/wine-prefix.sh
  exec /usr/lib/wine/wine64 "$exe"
fi

mkdir -p build/run
tools/with-wine-session.sh /usr/bin/python3 tools/demo.py --exe "$exe" \
  --probe build/win64/win_probe.exe --out build/run
