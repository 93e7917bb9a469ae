#!/usr/bin/env bash
# The test command: installs what is missing, builds everything, then runs every test tier.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/bootstrap.sh
tools/build-all.sh

echo "== release executable"
kind=$(file -b build/win32/moyuan_capture.exe)
echo "$kind"
case "$kind" in
  PE32\ executable*Intel\ 80386*) ;;
  *) echo "build/win32/moyuan_capture.exe is not a 32-bit Windows executable" >&2; exit 1 ;;
esac

echo "== native unit tests"
ctest --test-dir build/linux --output-on-failure -j"$(nproc)"

echo "== picture decoder fuzzing (short run)"
tools/run-fuzz.sh 5

echo "== Windows-side and end-to-end tests under Wine"
tools/with-wine-session.sh ctest --test-dir build/win64 --output-on-failure
