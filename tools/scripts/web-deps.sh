#!/usr/bin/env bash
# Sets up everything the WebAssembly build needs and prints the folder of the
# wasm libraries (it holds sdl2/ and libopenmpt-wasm-eh/, each with include/ and lib/).
#
# Installs Debian's emscripten, chromium and python3 when missing, then builds
# SDL2 and libopenmpt for wasm from Debian's source packages, once: the builds
# are kept outside the checkout, in a folder named by the emscripten version
# and the source package versions, and are only made again when missing.
# libopenmpt reports a damaged module by throwing inside and catching at its
# C interface; without exception catching a wasm build aborts there instead.
# So it is built with WebAssembly exceptions, into a folder (and under a link
# name, libopenmpt-wasm-eh) of its own: a build made without them is never
# taken for one made with them.
#   web-deps.sh            (prints the prefix on stdout, logs on stderr)
# Environment: DEMO_DEPS_DIR (default /var/cache/demo-deps), JOBS (default 2).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
deps_dir=${DEMO_DEPS_DIR:-/var/cache/demo-deps}
jobs=${JOBS:-2}
log() { echo "web-deps: $*" >&2; }

# One dependency build at a time: two at once would remove each other's work
# folders and share the unpacked sources (windows-deps.sh takes the same lock).
mkdir -p "$deps_dir"
exec 9>"$deps_dir/builds.lock"
flock 9

# --- Debian packages -------------------------------------------------------
packages=(emscripten chromium python3 dpkg-dev cmake make ninja-build)
"$here/apt-install-missing.sh" "${packages[@]}"

# Debian's emscripten finds its JavaScript modules (acorn) only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
em_version=$(dpkg-query -W -f='${Version}' emscripten)

# --- Sources ---------------------------------------------------------------
src_dir="$deps_dir/src"
sdl_src=$("$here/debian-source.sh" libsdl2 "$src_dir")
mpt_src=$("$here/debian-source.sh" libopenmpt "$src_dir")
sdl_name=$(basename "$sdl_src")
mpt_name=$(basename "$mpt_src")

prefix="$deps_dir/wasm/emscripten-$em_version"
mkdir -p "$prefix"

# Builds into a private work folder and moves the result into place at the
# end, so an interrupted build leaves nothing that looks finished. The shared
# source folders are only read.
build_sdl2() {
  local dest="$prefix/$sdl_name"
  [ -f "$dest/.complete" ] && return 0
  log "building $sdl_name for wasm (a few minutes)"
  local work="$prefix/.work-$sdl_name"
  rm -rf "$work" "$dest"
  mkdir -p "$work"
  emcmake cmake -S "$sdl_src" -B "$work/build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$work/install" \
    -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF >&2
  cmake --build "$work/build" -j "$jobs" >&2
  cmake --install "$work/build" >&2
  touch "$work/install/.complete"
  mv "$work/install" "$dest"
  rm -rf "$work"
}

mpt_flavour=wasm-eh
mpt_flags=-fwasm-exceptions

build_libopenmpt() {
  local dest="$prefix/$mpt_name-$mpt_flavour"
  [ -f "$dest/.complete" ] && return 0
  log "building $mpt_name for wasm (a few minutes)"
  local work="$prefix/.work-$mpt_name-$mpt_flavour"
  rm -rf "$work" "$dest"
  mkdir -p "$work"
  # An autotools build writes into its source tree: build in a copy.
  cp -a "$mpt_src" "$work/src"
  (
    cd "$work/src"
    CXXFLAGS="-g -O2 $mpt_flags" LDFLAGS="$mpt_flags" \
    emconfigure ./configure --build=x86_64-pc-linux-gnu --host=i686-pc-linux-gnu \
      --prefix="$work/install" --disable-shared --enable-static \
      --disable-openmpt123 --disable-examples --disable-tests --disable-doxygen-doc \
      --without-zlib --without-mpg123 --without-ogg --without-vorbis --without-vorbisfile \
      --without-pulseaudio --without-portaudio --without-portaudiocpp --without-sdl2 \
      --without-sndfile --without-flac >&2
    emmake make -j "$jobs" >&2
    emmake make install >&2
  )
  touch "$work/install/.complete"
  mv "$work/install" "$dest"
  rm -rf "$work"
}

build_sdl2
build_libopenmpt

# Stable names for the build to point at.
ln -sfn "$sdl_name" "$prefix/sdl2"
ln -sfn "$mpt_name-$mpt_flavour" "$prefix/libopenmpt-$mpt_flavour"
echo "$prefix"
