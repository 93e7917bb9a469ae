#!/usr/bin/env bash
# Fuzzes the picture decoder with libFuzzer for the given number of seconds (600 if none).
# Usage: tools/run-fuzz.sh [seconds]
# Builds a separate Clang build in build/fuzz, starts from the picture fixtures and keeps the
# corpus it grows in build/fuzz/corpus, so later runs go on from there. An input that crashes
# the decoder is written to build/fuzz/artifacts/, and the script fails.
set -euo pipefail

seconds=${1:-600}
case $seconds in
  ''|*[!0-9]*) echo "usage: $0 [seconds]" >&2; exit 2 ;;
esac

here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build/fuzz

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOYUAN_FUZZ=ON -DMOYUAN_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz_picture_decode

mkdir -p "$build/corpus" "$build/artifacts"
log=$build/fuzz.log
status=0
"$build/fuzz_picture_decode" -max_total_time="$seconds" -print_final_stats=1 \
  -dict="$here/tests/fuzz/picture.dict" -artifact_prefix="$build/artifacts/" \
  "$build/corpus" "$here/tests/fixtures" >"$log" 2>&1 || status=$?

grep -E '^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb' "$log" || true
if [ "$status" -ne 0 ]; then
  tail -n 60 "$log" >&2
  echo "run-fuzz: the fuzzer failed ($status); inputs in $build/artifacts/, log in $log" >&2
  exit "$status"
fi
echo "run-fuzz: ${seconds}s without a crash; corpus $(ls "$build/corpus" | wc -l) inputs, log in $log"
