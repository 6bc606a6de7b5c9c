#!/usr/bin/env bash
# Sets up the 64-bit ARM cross build: Debian's cross compiler, qemu's user
# mode emulator for running what it builds, and Debian's arm64 SDL2,
# libopenmpt, GoogleTest and Google Benchmark installed beside the native
# ones (multi-arch: arm64 becomes a foreign architecture of dpkg). Touches
# dpkg and apt only when something is missing.
#   arm64-deps.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

if ! dpkg --print-foreign-architectures | grep -qx arm64; then
  echo "arm64-deps.sh: adding arm64 as a foreign architecture of dpkg" >&2
  $sudo dpkg --add-architecture arm64
  # The package lists must know the new architecture before anything is installed.
  $sudo apt-get -o DPkg::Lock::Timeout=1200 update -qq >&2
fi
packages=(
  g++-aarch64-linux-gnu binutils-aarch64-linux-gnu qemu-user-static
  libsdl2-dev:arm64 libopenmpt-dev:arm64
  libgtest-dev:arm64 libgmock-dev:arm64 libbenchmark-dev:arm64
  dpkg-dev patchelf lintian
)
exec "$here/apt-install-missing.sh" "${packages[@]}"
