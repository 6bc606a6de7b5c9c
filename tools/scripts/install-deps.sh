#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need.
# Touches apt only when something is missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ make pkg-config
  libsdl2-dev libopenmpt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb openbox xdotool wmctrl x11-utils x11-xserver-utils libx11-dev imagemagick
  ffmpeg sox openmpt123 xmp
  clang-format
  python3 python3-numpy
)
exec "$(dirname "$0")/apt-install-missing.sh" "${packages[@]}"
