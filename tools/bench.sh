#!/usr/bin/env bash
# Runs the capture benchmark under Wine on virtual screens of 1920 x 1080 and 3840 x 2160.
set -euo pipefail
cd "$(dirname "$0")/.."
MOYUAN_PRESETS=win64 tools/build-all.sh
for size in ${MOYUAN_BENCH_SIZES:-1920x1080 3840x2160}; do
  echo "== $size"
  MOYUAN_DESKTOP=$size MOYUAN_WINE_BUILD=$PWD/build/bench-$size \
    tools/with-wine-session.sh /usr/lib/wine/wine64 build/win64/capture_bench.exe "${1:-40}"
done
