#!/usr/bin/env bash
# Fuzzes the XM reader and the raw image loader with libFuzzer (clang, with
# AddressSanitizer and UndefinedBehaviorSanitizer) for a bounded time each.
# Inputs that crash, time out (1 s) or run slow are written into
# BUILD/findings/TARGET/; keep them as regression inputs by copying them
# into tests/fuzz/inputs/FOLDER/, where every test run replays them.
#   fuzz.sh [BUILD_DIR] [SECONDS_PER_TARGET]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-fuzz}
seconds=${2:-60}
cd "$root"
tools/scripts/apt-install-missing.sh clang libclang-rt-14-dev cmake ninja-build libsdl2-dev libopenmpt-dev \
  libgtest-dev libgmock-dev pkg-config

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDEMO_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzzXmExtent fuzzImageLoader demo_assets

declare -A folder=([fuzzXmExtent]=xm [fuzzImageLoader]=image)
status=0
for target in fuzzXmExtent fuzzImageLoader; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  mkdir -p "$corpus" "$findings"
  cp tests/fuzz/inputs/"${folder[$target]}"/* "$corpus"/
  [ "$target" = fuzzXmExtent ] && cp "$build"/bin/qzt_dmbl.xm "$corpus"/
  log=$build/$target.log
  "$build/bin/$target" "$corpus" -max_total_time="$seconds" -timeout=1 -report_slow_units=1 \
    -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1 || true
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  found=$(find "$findings" -type f | wc -l)
  echo "$target: $runs runs in $seconds s, $found findings in $findings"
  [ "$found" -eq 0 ] || status=1
done
exit $status
