#!/usr/bin/env bash
# make linux-arm64: cross-compiles the programs, the capture and the tests
# for 64-bit ARM Linux into ARM_BUILD_DIR with Debian's aarch64 toolchain
# (cmake/aarch64-linux-gnu.cmake), then packs them like the native ones:
# dist/qzt-dmbl_VERSION_arm64.deb and dist/qzt-dmbl-VERSION-linux-aarch64.tar.gz.
# The data files come from the native generator of NATIVE_BUILD_DIR.
#   linux-arm64-build.sh NATIVE_BUILD_DIR ARM_BUILD_DIR [extra cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native=$(cd "${1:-$root/build}" && pwd)
build=${2:-$root/build-arm64}
shift 2 || true
"$root/tools/scripts/arm64-deps.sh"

assetgen=$native/bin/demo_assetgen
[ -x "$assetgen" ] || { echo "linux-arm64-build.sh: no native data generator at $assetgen (make build)" >&2; exit 1; }
# Configured on every run, so that options given now take effect on a
# build folder made earlier.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/aarch64-linux-gnu.cmake" \
  -DDEMO_HOST_ASSETGEN="$assetgen" "$@" > /dev/null
# What the packages and tests/linux-arm64 use: the programs, the capture, the
# data files and the test programs (the benchmarks only for make bench-arm64).
mapfile -t tests < <(ninja -C "$build" -t targets all | sed -n 's/^\([a-z0-9_]*_test\): .*/\1/p' | grep -v '^cmake_' | sort -u)
cmake --build "$build" -j "${DEMO_JOBS:-2}" --target demo_windowed demo_fullscreen demo_capture demo_assets \
  "${tests[@]}" ${DEMO_ARM64_EXTRA_TARGETS:-}
DEMO_PACKAGE_ARCH=arm64 "$root/tools/scripts/linux-package.sh" "$build"
