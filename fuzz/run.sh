#!/usr/bin/env bash
# A long fuzz run: ./fuzz/run.sh [seconds per target] [target ...]
# Targets: config config_parse hex cod calcurves nmea decpts (all when none is named). New inputs
# collect in build-fuzz/fuzz/work/<target>, crashes in build-fuzz/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(config config_parse hex cod calcurves nmea decpts)

BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_FUZZ=ON >/dev/null
cmake --build "$BUILD_DIR" --target fuzz_all

status=0
for t in "${targets[@]}"; do
  corpus=$t
  [ "$t" = config_parse ] && corpus=config # the reader alone starts from the round trip's seeds
  mkdir -p "$BUILD_DIR/fuzz/work/$t" "$BUILD_DIR/fuzz/artifacts"
  echo "=== fuzz_$t for ${seconds} s"
  "$BUILD_DIR/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$BUILD_DIR/fuzz/artifacts/$t-" "$BUILD_DIR/fuzz/work/$t" "fuzz/corpus/$corpus" || status=1
done
exit $status
