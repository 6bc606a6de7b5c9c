#!/usr/bin/env bash
# The WebAssembly build's speed against the native one, reported (nothing is
# asserted: the figures depend on the machine and its load):
#  - the CPU time (user + system) of a whole capture at 50 fps, every frame
#    composed and frame 0 written, by the native demo_capture and by
#    demo_capture.js under Node, the best of RUNS runs each, and their ratio;
#  - under Node's sampling profiler, the share of the samples that fall in
#    the portable sine and cosine (with the multiply-adds they compute in
#    software, as WebAssembly has no fused multiply-add); that share of the
#    Node run's CPU time, per frame, is what the trigonometry costs.
#   web-speed.sh [NATIVE_BUILD] [WEB_BUILD] [RUNS]
set -euo pipefail
native=$(cd "${1:-build}" && pwd)
web=$(cd "${2:-build-web}" && pwd)
runs=${3:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
frames=8001  # 160 s at 50 fps, frame 0 included

# The best CPU seconds (user + system) of `runs` runs of a command in a folder.
best_cpu() {
  local folder=$1
  shift
  local best=""
  for _ in $(seq "$runs"); do
    rm -rf "$work/frames"
    (cd "$folder" && /usr/bin/time -f '%U %S' -o "$work/time" "$@" > /dev/null 2>&1)
    local cpu
    cpu=$(awk '{ printf "%.2f", $1 + $2 }' "$work/time")
    if [ -z "$best" ] || awk -v a="$cpu" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$cpu; fi
  done
  echo "$best"
}

capture=(--fps 50 --frames "$work/frames" --only 0)
native_cpu=$(best_cpu "$native/bin" ./demo_capture "${capture[@]}")
node_cpu=$(best_cpu "$web/bin" node --no-experimental-fetch demo_capture.js "${capture[@]}")
echo "capture at 50 fps, $frames frames, best of $runs: native ${native_cpu} s CPU, Node ${node_cpu} s CPU," \
  "ratio $(awk -v n="$node_cpu" -v c="$native_cpu" 'BEGIN { printf "%.2f", n / c }')"

# The trigonometry's share: the samples in portableSin/portableCos and
# everything they call, against all samples of the run.
rm -rf "$work/frames"
(cd "$web/bin" && node --no-experimental-fetch --cpu-prof --cpu-prof-dir="$work/profile" --cpu-prof-interval 200 \
  demo_capture.js "${capture[@]}" > /dev/null 2>&1)
node - "$work"/profile/*.cpuprofile "$frames" "$node_cpu" <<'EOF'
const fs = require('fs');
const [file, frames, cpuSeconds] = process.argv.slice(2);
const profile = JSON.parse(fs.readFileSync(file, 'utf8'));
const byId = new Map(profile.nodes.map((node) => [node.id, node]));
const isTrig = (node) => /portable(Sin|Cos)/.test(node.callFrame.functionName);
let all = 0;
let trig = 0;
let named = 0;
const walk = (node, inTrig) => {
  const here = inTrig || isTrig(node);
  all += node.hitCount;
  if (here) trig += node.hitCount;
  if (isTrig(node)) named += 1;
  for (const child of node.children || []) walk(byId.get(child), here);
};
walk(profile.nodes[0], false);
if (named === 0) {
  console.log('trigonometry: no portableSin/portableCos in the profile (demo_capture.wasm without function names?)');
  process.exit(1);
}
const share = trig / all;
console.log(`trigonometry: ${(100 * share).toFixed(1)} % of ${all} profile samples, so about ` +
  `${(share * cpuSeconds).toFixed(2)} s of the ${cpuSeconds} s, ${(share * cpuSeconds / frames * 1e6).toFixed(0)} us a frame`);
EOF
