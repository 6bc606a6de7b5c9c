#!/usr/bin/env bash
# Makes docs/soundtrack.png, the spectrogram in the README: the whole
# soundtrack as demo_capture writes it, 0-160 s from left to right, 0-22 kHz
# from bottom to top, 90 dB of range.
#   make-soundtrack-picture.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bin="$root/${1:-build}/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$bin" && ./demo_capture --fps 10 --wav "$work/soundtrack.wav" > /dev/null 2>&1)
sox "$work/soundtrack.wav" -n remix - spectrogram -x 1600 -y 400 -z 90 \
  -t "qzt_dmbl.xm as demo_capture renders it (mid signal)" -o "$root/docs/soundtrack.png"
echo "wrote docs/soundtrack.png"
