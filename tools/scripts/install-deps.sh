#!/usr/bin/env bash
# Installs the Debian packages the project needs. Touches apt only when
# something is missing.
#   install-deps.sh          what building, playing and testing need
#   install-deps.sh viewer   only what building and playing the demo needs (make demo)
set -euo pipefail
viewer=(
  cmake ninja-build g++ make pkg-config
  libsdl2-dev libopenmpt-dev
)
# The tests and benchmarks: GoogleTest and Google Benchmark, a private X
# server with a window manager and its tools, the reference players and media
# tools the tests compare against, the formatter, the soundtrack's measuring.
tests=(
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb openbox xdotool wmctrl x11-utils x11-xserver-utils libx11-dev imagemagick
  ffmpeg sox openmpt123 xmp
  clang-format
  python3 python3-numpy
)
case "${1:-all}" in
  viewer) packages=("${viewer[@]}") ;;
  all) packages=("${viewer[@]}" "${tests[@]}") ;;
  *) echo "usage: install-deps.sh [viewer]" >&2; exit 2 ;;
esac
exec "$(dirname "$0")/apt-install-missing.sh" "${packages[@]}"
