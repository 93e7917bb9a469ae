#!/usr/bin/env bash
# Runs a Windows executable under Wine: the CMake emulator of the win64 build. Starts its own
# Wine session when not inside one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exec "$here/with-wine-session.sh" /usr/lib/wine/wine64 "$@"
