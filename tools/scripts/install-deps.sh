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
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
