#!/usr/bin/env bash
# Builds the Windows libraries of the cross build from Debian's source
# packages: SDL2 (a DLL), libopenmpt (static, no optional library) and
# GoogleTest (static). Each is installed into a folder of its own under
# DEMO_DEPS_DIR (default /var/cache/demo-deps), keyed by its version, and
# built only when that folder is missing. Prints the prefixes, one a line.
#   windows-deps.sh [x86_64]
set -euo pipefail
arch=${1:-x86_64}
triplet=$arch-w64-mingw32
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
deps=${DEMO_DEPS_DIR:-/var/cache/demo-deps}
jobs=${DEMO_JOBS:-2}
toolchain=$root/cmake/mingw-w64-$arch.cmake
[ -f "$toolchain" ] || { echo "windows-deps.sh: no toolchain file for $arch" >&2; exit 1; }

# One dependency build at a time: two at once would remove each other's work
# folders and share the unpacked sources (web-deps.sh takes the same lock).
mkdir -p "$deps"
exec 9>"$deps/builds.lock"
flock 9

# The cross compilers, Wine and the rest of the Windows build's tools.
packages=(mingw-w64 wine64 zip dpkg-dev cmake ninja-build make pkg-config)
"$here/apt-install-missing.sh" "${packages[@]}"

source_of() { "$here/debian-source.sh" "$1" "$deps/src"; }
version_of() { basename "$1" | sed "s/^$2-//"; }
log_dir=$deps/windows-$arch/logs
mkdir -p "$log_dir"

# Runs a build step with its output in a log; shows the log's end on failure.
logged() {
  local log=$1
  shift
  if ! "$@" >"$log" 2>&1; then
    echo "windows-deps.sh: failed, the end of $log:" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
}

# SDL2 as a DLL, built out of tree (the source folder is shared).
sdl_src=$(source_of libsdl2)
sdl_prefix=$deps/windows-$arch/sdl2-$(version_of "$sdl_src" libsdl2)
if [ ! -f "$sdl_prefix/.complete" ]; then
  echo "building SDL2 for Windows into $sdl_prefix (a few minutes)" >&2
  work=$(mktemp -d "$deps/windows-$arch/sdl2-build.XXXXXX")
  rm -rf "$sdl_prefix"
  logged "$log_dir/sdl2-configure.log" cmake -S "$sdl_src" -B "$work" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$sdl_prefix" \
    -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL2_DISABLE_INSTALL_DOCS=ON
  logged "$log_dir/sdl2-build.log" cmake --build "$work" -j "$jobs"
  logged "$log_dir/sdl2-install.log" cmake --install "$work" --strip
  rm -rf "$work"
  touch "$sdl_prefix/.complete"
fi

# libopenmpt, static, from a private copy of the source (autotools writes
# into its source folder).
mpt_src=$(source_of libopenmpt)
mpt_prefix=$deps/windows-$arch/libopenmpt-$(version_of "$mpt_src" libopenmpt)
if [ ! -f "$mpt_prefix/.complete" ]; then
  echo "building libopenmpt for Windows into $mpt_prefix (several minutes)" >&2
  work=$(mktemp -d "$deps/windows-$arch/libopenmpt-build.XXXXXX")
  rm -rf "$mpt_prefix"
  cp -a "$mpt_src/." "$work/"
  (
    cd "$work"
    logged "$log_dir/libopenmpt-configure.log" ./configure --host="$triplet" \
      CC="$triplet-gcc-posix" CXX="$triplet-g++-posix" \
      --prefix="$mpt_prefix" --disable-shared --enable-static \
      --disable-openmpt123 --disable-examples --disable-tests --disable-doxygen-doc \
      --without-zlib --without-mpg123 --without-ogg --without-vorbis --without-vorbisfile \
      --without-pulseaudio --without-portaudio --without-portaudiocpp --without-sdl2 \
      --without-sndfile --without-flac
    logged "$log_dir/libopenmpt-build.log" make -j "$jobs"
    logged "$log_dir/libopenmpt-install.log" make install
  )
  rm -rf "$work"
  touch "$mpt_prefix/.complete"
fi

# GoogleTest for the unit tests that run under Wine.
gtest_src=$(source_of googletest)
gtest_prefix=$deps/windows-$arch/googletest-$(version_of "$gtest_src" googletest)
if [ ! -f "$gtest_prefix/.complete" ]; then
  echo "building GoogleTest for Windows into $gtest_prefix" >&2
  work=$(mktemp -d "$deps/windows-$arch/googletest-build.XXXXXX")
  rm -rf "$gtest_prefix"
  logged "$log_dir/googletest-configure.log" cmake -S "$gtest_src" -B "$work" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$gtest_prefix" -DBUILD_GMOCK=ON -DBUILD_SHARED_LIBS=OFF
  logged "$log_dir/googletest-build.log" cmake --build "$work" -j "$jobs"
  logged "$log_dir/googletest-install.log" cmake --install "$work"
  rm -rf "$work"
  touch "$gtest_prefix/.complete"
fi

printf '%s\n' "$sdl_prefix" "$mpt_prefix" "$gtest_prefix"
