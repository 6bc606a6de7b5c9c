#!/usr/bin/env bash
# make test-linux-arm64: the 64-bit ARM build of make linux-arm64 under
# qemu-aarch64, against the native build:
#   0. no fused multiply-add in its frame code (-ffp-contract=off kept),
#   1. its unit tests of the core and the converters, the golden frames at
#      50 and 60 fps and the data files (ctest in the ARM build folder; the
#      programs run under the emulator),
#   2. its capture: frames 0, 2600 and 7600 at 50 fps and the WAV, byte for
#      byte the native capture's,
#   3. the arm64 package: Architecture arm64, dependencies from
#      dpkg-shlibdeps, no lintian error,
#   4. the aarch64 archive unpacked elsewhere: its programs load SDL2 and
#      libopenmpt from its own lib/, and its capture run from another folder
#      gives the same files as the native one.
#   run.sh NATIVE_BUILD ARM_BUILD
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native=$(cd "${1:-$root/build}" && pwd)
arm=$(cd "${2:-$root/build-arm64}" && pwd)
version=$(head -n1 "$root/VERSION")
deb=$root/dist/qzt-dmbl_${version}_arm64.deb
folder=qzt-dmbl-$version-linux-aarch64
tarball=$root/dist/$folder.tar.gz
loader=/usr/lib/aarch64-linux-gnu/ld-linux-aarch64.so.1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/demo-arm64-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# shellcheck source=../../tools/scripts/check-lib.sh
. "$root/tools/scripts/check-lib.sh"
check_same() {  # what file1 file2
  if [ -s "$2" ] && cmp -s "$2" "$3"; then pass "$1"; else fail "$1 ($2 and $3 differ or are missing)"; fi
}
frames="0,2600,7600"

# 0. aarch64 GCC fuses a * b + c into one rounding unless told not to: no
# fused multiply-add may appear in the code that composes frames, but for
# the sine and cosine, which fuse on purpose (and so show that the search
# finds them).
count_fused() { xargs -0 aarch64-linux-gnu-objdump -d --no-show-raw-insn | grep -cE '\s(fn?m(add|sub)|fml[as])\s' || true; }
objects=$(find "$arm/src" -name '*.o' ! -name 'portable_trig.cpp.o' | wc -l)
fused=$(find "$arm/src" -name '*.o' ! -name 'portable_trig.cpp.o' -print0 | count_fused)
deliberate=$(find "$arm/src" -name 'portable_trig.cpp.o' -print0 | count_fused)
if [ "$objects" -gt 10 ] && [ "$fused" -eq 0 ] && [ "$deliberate" -gt 0 ]; then
  pass "no fused multiply-add in $objects object files of the frame code ($deliberate on purpose in the sine and cosine)"
else
  fail "fused multiply-adds: $fused in $objects object files of the frame code, $deliberate in the sine and cosine"
fi

# 1. Unit tests, golden frames and data files under the emulator.
if ctest --test-dir "$arm" --output-on-failure -L 'unit|golden|assets' > "$scratch/ctest.log" 2>&1; then
  pass "unit, golden frame and data file tests under qemu ($(grep -o '[0-9]*% tests passed.*' "$scratch/ctest.log" || true))"
else
  cat "$scratch/ctest.log"
  fail "unit, golden frame and data file tests under qemu"
fi

# 2. The capture of the ARM build against the native one.
capture() {  # out_dir runner... capture_program
  local out=$1
  shift
  mkdir -p "$out"
  (cd "$out" && "$@" --fps 50 --frames f --raw --only "$frames" --wav s.wav > out.txt 2> err.txt)
}
capture "$scratch/native" "$native/bin/demo_capture" || fail "native capture"
# The ARM build's data files (the native generator's) in its working folder.
mkdir -p "$scratch/arm"
for f in $(cat "$root/tools/data-files.txt"); do cp "$arm/bin/$f" "$scratch/arm/"; done
if capture "$scratch/arm" qemu-aarch64-static "$arm/bin/demo_capture"; then
  pass "the ARM capture ends with exit code 0"
else
  cat "$scratch/arm/err.txt"
  fail "the ARM capture ends with exit code 0"
fi
for k in 00000 02600 07600; do
  check_same "frame $k of the ARM capture" "$scratch/native/f/frame_$k.raw" "$scratch/arm/f/frame_$k.raw"
done
check_same "the ARM capture's WAV" "$scratch/native/s.wav" "$scratch/arm/s.wav"

# 3. The package.
info=$(dpkg-deb -I "$deb")
if grep -qx ' Architecture: arm64' <<< "$info"; then pass "the package is for arm64"; else fail "the package is for arm64"; fi
depends=$(sed -n 's/^ Depends: //p' <<< "$info")
if grep -q 'libsdl2-2.0-0 (>= ' <<< "$depends" && grep -q 'libopenmpt0 (>= ' <<< "$depends"; then
  pass "the package depends on what dpkg-shlibdeps found ($depends)"
else
  fail "the package's dependencies: $depends"
fi
lintian --no-tag-display-limit "$deb" > "$scratch/lintian.txt" 2>&1 || true
if grep -q '^E: ' "$scratch/lintian.txt"; then
  cat "$scratch/lintian.txt"
  fail "lintian reports no error on the arm64 package"
else
  pass "lintian reports no error on the arm64 package ($(grep -c '^[WI]: ' "$scratch/lintian.txt" || true) warnings and notes)"
fi

# 4. The archive, unpacked elsewhere.
tar -xzf "$tarball" -C "$scratch"
tree=$scratch/$folder
# Each program finds every library it loads; SDL2 and libopenmpt come from
# the archive's own lib/ (the capture needs no SDL2).
for program in qzt-dmbl qzt-dmbl-fullscreen qzt-dmbl-capture; do
  listed=$(qemu-aarch64-static "$loader" --list "$tree/$program")
  wanted=(libopenmpt.so.0)
  [ "$program" = qzt-dmbl-capture ] || wanted+=(libSDL2-2.0.so.0)
  missing=""
  for soname in "${wanted[@]}"; do grep -q "$soname => $tree/lib/" <<< "$listed" || missing+=" $soname"; done
  if [ -z "$missing" ] && ! grep -q 'not found' <<< "$listed"; then
    pass "$program finds its libraries, ${wanted[*]} in the archive's lib/"
  else
    fail "$program: not from lib/:$missing; $(grep 'not found' <<< "$listed" | tr -s ' \n' ' ')"
  fi
done
mkdir -p "$scratch/elsewhere"
if (cd "$scratch/elsewhere" && qemu-aarch64-static "$tree/qzt-dmbl-capture" --fps 50 --frames f --raw \
      --only "$frames" --wav s.wav > out.txt 2> err.txt); then
  pass "the archive's capture, run from another folder, ends with exit code 0"
else
  cat "$scratch/elsewhere/err.txt"
  fail "the archive's capture, run from another folder, ends with exit code 0"
fi
for k in 00000 02600 07600; do
  check_same "frame $k of the archive's capture" "$scratch/native/f/frame_$k.raw" "$scratch/elsewhere/f/frame_$k.raw"
done
check_same "the archive's WAV" "$scratch/native/s.wav" "$scratch/elsewhere/s.wav"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
