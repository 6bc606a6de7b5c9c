#!/usr/bin/env bash
# Makes docs/demo.png, the picture at the top of the README: three frames
# composed by demo_capture (the scroller early on, the grid coming apart
# after 40 s, the strong wave), side by side at half size.
#   make-readme-picture.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bin="$root/${1:-build}/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# At 50 fps: 8 s, 50 s and 100 s.
(cd "$bin" && ./demo_capture --fps 50 --frames "$work" --only 400,2500,5000 > /dev/null)
convert "$work/frame_00400.ppm" "$work/frame_02500.ppm" "$work/frame_05000.ppm" \
  -resize 50% +append -strip "$root/docs/demo.png"
echo "wrote docs/demo.png"
