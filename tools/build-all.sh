#!/usr/bin/env bash
# Configures and builds the three builds: linux (native tests), win64 (tests under Wine) and
# win32 (the release executable). The build output is shown only when a build fails.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build
for preset in ${MOYUAN_PRESETS:-linux win64 win32}; do
  echo "== build $preset"
  log=build/$preset-build.log
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -- -j"$(nproc)"; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "build $preset failed" >&2
    exit 1
  fi
done
