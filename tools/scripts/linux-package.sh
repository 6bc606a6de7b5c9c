#!/usr/bin/env bash
# make linux: packs the native build for Linux users into dist/:
#   qzt-dmbl_VERSION_amd64.deb: the programs in /usr/games, the data files in
#     /usr/share/games/qzt-dmbl, menu entries, icons, AppStream metainfo and
#     manual pages; SDL2 and libopenmpt come from Debian (the dependencies
#     are what dpkg-shlibdeps finds the programs need);
#   qzt-dmbl-VERSION-linux-x86_64.tar.gz: one folder with the programs, the
#     data files, a README and its own SDL2, libopenmpt and the libraries they
#     use (lib/, found through $ORIGIN), for Linux desktops without them; the
#     system's graphics and audio stack and the C and C++ runtime are left to
#     the system (the README lists them).
# The texts are in tools/linux; the icon is a frame of the show, rendered here.
# VERSION is the file VERSION; dates come from the last commit, so the same
# sources give the same packages.
# DEMO_PACKAGE_ARCH=arm64 packs a build cross-compiled for 64-bit ARM
# (make linux-arm64): the same layout, named qzt-dmbl_VERSION_arm64.deb and
# qzt-dmbl-VERSION-linux-aarch64.tar.gz; what must run its programs (the
# icon's frame, the libraries' list) runs under qemu-aarch64.
#   linux-package.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
"$root/tools/scripts/apt-install-missing.sh" dpkg-dev patchelf imagemagick binutils

name=qzt-dmbl
deb_arch=${DEMO_PACKAGE_ARCH:-amd64}
case $deb_arch in
  amd64) machine=x86_64 machine_name=x86-64 tool_prefix="" on_target=() ;;
  arm64) machine=aarch64 machine_name="64-bit ARM" tool_prefix=aarch64-linux-gnu- on_target=(qemu-aarch64-static) ;;
  *) echo "linux-package.sh: no packages for the architecture '$deb_arch'" >&2; exit 1 ;;
esac
triplet=$machine-linux-gnu
app_id=org.example.qzt_dmbl
version=$(head -n1 "$root/VERSION")
data_dir=/usr/share/games/$name
bin=$build/bin
texts=$root/tools/linux
mapfile -t data_files < "$root/tools/data-files.txt"
# Program of the build, its name in the packages.
programs=(demo_windowed:qzt-dmbl demo_fullscreen:qzt-dmbl-fullscreen demo_capture:qzt-dmbl-capture)

configured=$(sed -n 's/^DEMO_INSTALLED_DATA_DIR:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ "$configured" != "$data_dir" ]; then
  echo "linux-package.sh: the build looks for installed data in '$configured'," \
       "the package installs it in $data_dir (cmake -DDEMO_INSTALLED_DATA_DIR=$data_dir)" >&2
  exit 1
fi

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)}
day=$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)
stamp=$(date -u -R -d "@$SOURCE_DATE_EPOCH")
work=$build/linux-package
deb=$work/deb
folder=$name-$version-linux-$machine
tree=$work/tar/$folder
rm -rf "$work"
mkdir -p "$work" "$root/dist"
umask 022

# A text of tools/linux with the version and the dates filled in.
fill() {
  sed -e "s/@VERSION@/$version/g" -e "s/@ARCH@/$deb_arch/g" -e "s/@MACHINE@/$machine_name/g" -e "s/@DATE@/$day/g" -e "s/@YEAR@/${day%%-*}/g" \
      -e "s/@DATE_RFC@/$stamp/g" "$texts/$1"
}

# Highest version of a symbol family (GLIBC, GLIBCXX) the files ask for.
highest_version() {
  local family=$1
  shift
  "${tool_prefix}objdump" -T "$@" | grep -o "(${family}_[0-9.]*)" | tr -d '()' | sort -uV | tail -n1
}

# The libraries a program loads, as ldd lists them; for another architecture
# its dynamic loader lists them under the emulator.
list_libraries() {
  if [ "$deb_arch" = amd64 ]; then
    ldd "$@"
  else
    local program
    for program in "$@"; do
      echo "$program:"
      # Without its own line for the loader, as ldd prints it.
      "${on_target[@]}" "/usr/lib/$triplet/ld-linux-aarch64.so.1" --list "$program" | grep -v '^[[:space:]]*/'
    done
  fi
}

upstream_version() {  # Debian package -> its upstream version
  dpkg-query -W -f='${Version}' "$1:$deb_arch" | sed -E 's/^[0-9]+://; s/-[^-]*$//; s/\+dfsg.*//'
}

# ---- the package's tree
mkdir -p "$deb/usr/games" "$deb$data_dir" "$deb/usr/share/applications" "$deb/usr/share/metainfo" \
  "$deb/usr/share/man/man6" "$deb/usr/share/doc/$name" "$deb/DEBIAN"
for pair in "${programs[@]}"; do
  install -m 0755 "$bin/${pair%%:*}" "$deb/usr/games/${pair#*:}"
  "${tool_prefix}strip" --remove-section=.comment --remove-section=.note --strip-unneeded "$deb/usr/games/${pair#*:}"
done
for f in "${data_files[@]}"; do install -m 0644 "$bin/$f" "$deb$data_dir/$f"; done
install -m 0644 "$texts/$app_id.desktop" "$texts/$app_id.fullscreen.desktop" "$deb/usr/share/applications/"
fill "$app_id.metainfo.xml" > "$deb/usr/share/metainfo/$app_id.metainfo.xml"
fill qzt-dmbl.6 | gzip -9n > "$deb/usr/share/man/man6/qzt-dmbl.6.gz"
fill qzt-dmbl-capture.6 | gzip -9n > "$deb/usr/share/man/man6/qzt-dmbl-capture.6.gz"
ln -s qzt-dmbl.6.gz "$deb/usr/share/man/man6/qzt-dmbl-fullscreen.6.gz"
fill copyright > "$deb/usr/share/doc/$name/copyright"
fill changelog | gzip -9n > "$deb/usr/share/doc/$name/changelog.gz"

# The icon: 30 s into the show (frame 300 at 10 fps) the grid waves over the
# globe; a square around the globe, at the three sizes of the hicolor theme.
(cd "$bin" && "${on_target[@]}" ./demo_capture --fps 10 --frames "$work/frame" --only 300 > /dev/null 2> "$work/capture.log") ||
  { cat "$work/capture.log" >&2; exit 1; }
for size in 48 128 256; do
  icons="$deb/usr/share/icons/hicolor/${size}x$size/apps"
  mkdir -p "$icons"
  convert "$work/frame/frame_00300.ppm" -crop 340x340+150+140 +repage -resize "${size}x$size" -strip \
    -define png:exclude-chunks=date,time "$icons/$name.png"
done

# Dependencies as dpkg-shlibdeps reads them off the programs.
mkdir -p "$work/shlibdeps/debian"
printf 'Source: %s\n\nPackage: %s\nArchitecture: %s\n' "$name" "$name" "$deb_arch" > "$work/shlibdeps/debian/control"
depends=$(cd "$work/shlibdeps" && DEB_HOST_ARCH=$deb_arch \
          dpkg-shlibdeps -O "${programs[@]/#*:/-e$deb/usr/games/}" 2>"$work/shlibdeps.log" |
          sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { cat "$work/shlibdeps.log" >&2; exit 1; }
# Installed-Size as dpkg-gencontrol counts it (each file's KB rounded up, one
# per folder or link): from the sizes, not from how the build's file system stores them.
installed_kb=$(cd "$deb" && find . -path ./DEBIAN -prune -o ! -path . -printf '%y %s\n' |
               awk '{kb += ($1 == "f") ? int(($2 + 1023) / 1024) : 1} END {print kb}')
fill control | sed -e "s/@DEPENDS@/$depends/" -e "s/@INSTALLED_SIZE@/$installed_kb/" > "$deb/DEBIAN/control"
(cd "$deb" && find usr -type f | LC_ALL=C sort | xargs md5sum) > "$deb/DEBIAN/md5sums"
chmod 0644 "$deb/DEBIAN/control" "$deb/DEBIAN/md5sums"
deb_file="$root/dist/${name}_${version}_$deb_arch.deb"
dpkg-deb --root-owner-group -Zxz --build "$deb" "$deb_file" > /dev/null

# ---- the archive's folder: the package's programs, finding their libraries in lib/
mkdir -p "$tree/lib/licenses"
for pair in "${programs[@]}"; do
  cp "$deb/usr/games/${pair#*:}" "$tree/"
  patchelf --set-rpath '$ORIGIN/lib' "$tree/${pair#*:}"
done
for f in "${data_files[@]}"; do install -m 0644 "$bin/$f" "$tree/$f"; done
# The libraries the programs load, as the system finds them (soname path).
runtime='^(linux-vdso|ld-linux-x86-64|ld-linux-aarch64|libc|libm|libdl|libpthread|librt|libresolv|libutil|libstdc\+\+|libgcc_s)\.so'
# The system's own graphics and audio stack: its GL drivers and sound server
# are built against these and load into the process beside them, so they
# must be the system's copies (the usual exclude list of self-contained
# Linux bundles). libXau, libXdmcp and the X extension libraries count with
# libX11, the xcb libraries with libxcb.
system_stack='^(libGL|libEGL|libGLX|libGLdispatch|libOpenGL|libX11|libX11-xcb|libX[a-z]+|libxcb(-[a-z0-9-]+)?|libdrm|libgbm|libwayland-[a-z]+|libasound|libfontconfig|libfreetype|libexpat|libz)\.so'
declare -A library_path
while read -r soname path; do library_path[$soname]=$path; done < <(
  list_libraries "$bin/demo_windowed" "$bin/demo_fullscreen" "$bin/demo_capture" |
    awk '$2 == "=>" && $3 ~ /^\// {print $1, $3}' | sort -u)
needed() { "${tool_prefix}objdump" -p "$1" | awk '$1 == "NEEDED" {print $2}'; }
# Bundled: what the programs need and what that needs in turn, short of the
# C and C++ runtime (which the system must bring, README.txt says why) and
# of the system's stack, whose own needs are the system's business.
declare -A seen
queue=()
for program in demo_windowed demo_fullscreen demo_capture; do mapfile -t -O "${#queue[@]}" queue < <(needed "$bin/$program"); done
: > "$work/libraries.txt"
: > "$work/system-libraries.txt"
while [ ${#queue[@]} -gt 0 ]; do
  soname=${queue[0]}
  queue=("${queue[@]:1}")
  [ -n "${seen[$soname]:-}" ] && continue
  seen[$soname]=1
  grep -Eq "$runtime" <<< "$soname" && continue
  path=${library_path[$soname]:-}
  [ -n "$path" ] || { echo "linux-package.sh: $soname not found" >&2; exit 1; }
  if grep -Eq "$system_stack" <<< "$soname"; then echo "$soname $path" >> "$work/system-libraries.txt"; continue; fi
  echo "$soname $path" >> "$work/libraries.txt"
  mapfile -t -O "${#queue[@]}" queue < <(needed "$path")
done
sort -o "$work/libraries.txt" "$work/libraries.txt"
sort -o "$work/system-libraries.txt" "$work/system-libraries.txt"
owning_package() {  # file -> the Debian package it came from
  local real owner
  real=$(readlink -f "$1")
  owner=$(dpkg -S "$real" 2>/dev/null || dpkg -S "/usr$real" 2>/dev/null || dpkg -S "${real#/usr}")
  echo "${owner%%:*}"
}
while read -r soname path; do
  real=$(readlink -f "$path")
  install -m 0644 "$real" "$tree/lib/$soname"
  patchelf --set-rpath '$ORIGIN' "$tree/lib/$soname"
  package=$(owning_package "$path")
  cp -L "/usr/share/doc/$package/copyright" "$tree/lib/licenses/$package.copyright"
done < "$work/libraries.txt"
# README.txt's list of what the system must provide: each library with the
# Debian package that has it.
while read -r soname path; do
  printf '    %-26s (Debian: %s)\n' "$soname" "$(owning_package "$path")"
done < "$work/system-libraries.txt" > "$work/system-list.txt"
grep -q '^libSDL2-2.0.so.0 ' "$work/libraries.txt" && grep -q '^libopenmpt.so.0 ' "$work/libraries.txt"
fill copyright > "$tree/COPYING"
elf_files=("$tree"/qzt-dmbl* "$tree"/lib/*.so*)
fill README.txt | sed -e "s/@GLIBC@/$(highest_version GLIBC "${elf_files[@]}" | cut -d_ -f2)/" \
  -e "s/@GLIBCXX@/$(highest_version GLIBCXX "${elf_files[@]}")/" \
  -e "s/@SDL2@/$(upstream_version libsdl2-2.0-0)/" -e "s/@OPENMPT@/$(upstream_version libopenmpt0)/" \
  | awk -v list="$(cat "$work/system-list.txt")" '$0 == "@SYSTEM_LIBRARIES@" {print list; next} {print}' \
  > "$tree/README.txt"
tar_file="$root/dist/$folder.tar.gz"
tar --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$SOURCE_DATE_EPOCH" -C "$work/tar" -cf - "$folder" |
  gzip -9n > "$tar_file.part"
mv "$tar_file.part" "$tar_file"

kb() { du -k "$1" | cut -f1; }
echo "linux-package.sh: dist/${deb_file##*/} ($(kb "$deb_file") KB, $installed_kb KB installed)"
echo "linux-package.sh: dist/${tar_file##*/} ($(kb "$tar_file") KB, $(du -sk "$tree" | cut -f1) KB unpacked," \
     "$(wc -l < "$work/libraries.txt") libraries bundled, $(wc -l < "$work/system-libraries.txt") left to the system)"
echo "linux-package.sh: Depends: $depends"
