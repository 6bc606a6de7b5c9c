#!/usr/bin/env bash
# make test-linux: the Debian package and the archive of make linux, against
# the native build.
#   1. lintian (no error; the tags it still gives are listed),
#      desktop-file-validate, appstreamcli validate --no-net, man -l;
#   2. in a minimal Debian 12 (debootstrap minbase, cached by
#      tools/scripts/linux-chroot.sh, copied afresh for each run), without
#      SDL2 and libopenmpt, with the graphics and audio libraries its README
#      lists: the archive unpacked, none of those in its lib/, each other
#      library of its programs found in its own lib/, its capture run from another folder
#      gives the native frames (show, jitter, fade), WAV and messages byte
#      for byte, and its qzt-dmbl shows the demo on a private X server of
#      this machine and ends on Escape with exit code 0;
#   3. there, apt-get install ./the.deb brings what the package needs;
#      qzt-dmbl-capture run from an empty folder gives the same files and
#      messages; apt-get purge and autoremove leave nothing of the package
#      and of what it brought;
#   4. on this machine: the package installed, /usr/games/qzt-dmbl started
#      from an empty folder shows the demo and ends on Escape with exit code 0
#      and the native program's messages; the package removed again.
# Needs root (chroot, apt).
#   run.sh [BUILD_DIR]
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "run.sh: needs root (chroot, mounts, apt-get install)" >&2; exit 1; }
root=$(cd "$(dirname "$0")/../.." && pwd)
native=$(cd "${1:-$root/build}" && pwd)
version=$(head -n1 "$root/VERSION")
deb=$root/dist/qzt-dmbl_${version}_amd64.deb
folder=qzt-dmbl-$version-linux-x86_64
tarball=$root/dist/$folder.tar.gz
apt_cache=${DEMO_DEPS_CACHE:-/var/cache/demo-deps}/chroot-apt-archives
"$root/tools/scripts/apt-install-missing.sh" lintian desktop-file-utils appstream man-db \
  xvfb openbox xdotool imagemagick util-linux binutils

scratch=$(mktemp -d "${TMPDIR:-/tmp}/demo-linux-test.XXXXXX")
sysroot=$scratch/debian
xvfb_pid=""
wm_pid=""
installed_here=no
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  if [ "$installed_here" = yes ]; then
    apt-get -o DPkg::Lock::Timeout=1200 purge -y -qq qzt-dmbl > /dev/null 2>&1 || true
  fi
  # The copy's mounts live in namespaces that end with their commands;
  # never remove a tree with something still mounted in it.
  if ! grep -q " $scratch/" /proc/self/mounts; then rm -rf "$scratch"; fi
}
trap cleanup EXIT

# shellcheck source=../../tools/scripts/check-lib.sh
. "$root/tools/scripts/check-lib.sh"
check_same() {  # what file1 file2
  if [ -s "$2" ] && cmp -s "$2" "$3"; then pass "$1"; else fail "$1 ($2 and $3 differ or are missing)"; fi
}
now() { date +%s; }
# The capture's summary line without the time the run took, and with the name
# it was started by (qzt-dmbl-capture in the packages) as the native one's.
without_times() {
  sed -E -e 's/ in [0-9.]+ s, frames [0-9]+\/s \([0-9.]+x real time\)//' -e 's/^qzt-dmbl-capture: /demo_capture: /' "$1"
}

in_debian() { "$root/tests/linux/in-debian.sh" "$sysroot" "$apt_cache" "$1"; }
apt_in_debian() { in_debian "apt-get -o APT::Sandbox::User=root -qq $*"; }

only=0,2600,7600
frame_names=(frame_00000.raw frame_02600.raw frame_07600.raw)
capture_args="--fps 50 --raw --frames frames --only $only --wav demo.wav"
# A capture's outputs in DIR compared with the native ones.
check_capture() {  # name dir
  for f in "${frame_names[@]}"; do check_same "$1: $f" "$scratch/native/frames/$f" "$2/frames/$f"; done
  check_same "$1: WAV" "$scratch/native/demo.wav" "$2/demo.wav"
  if [ "$(ls "$2/frames" | tr '\n' ' ')" = "${frame_names[*]} " ]; then pass "$1: only the chosen frames"
  else fail "$1: frame files $(ls "$2/frames" | tr '\n' ' ')"; fi
  if cmp -s "$scratch/native/out.txt" "$2/out.txt" &&
     [ "$(without_times "$scratch/native/err.txt")" = "$(without_times "$2/err.txt")" ]; then
    pass "$1: the native capture's messages"
  else
    fail "$1: messages: $(cat "$2/out.txt" "$2/err.txt")"
  fi
}

echo "== the native capture"
mkdir -p "$scratch/native" "$scratch/data"
mapfile -t data_files < "$root/tools/data-files.txt"
for f in "${data_files[@]}"; do cp "$native/bin/$f" "$scratch/data/"; done
(cd "$scratch/data" && "$native/bin/demo_capture" $capture_args > out.txt 2> err.txt &&
 mv frames demo.wav out.txt err.txt "$scratch/native/")

echo "== lintian, desktop entries, AppStream, manual pages"
set +e
lintian --fail-on error --display-info --pedantic --tag-display-limit 0 "$deb" > "$scratch/lintian.txt" 2>&1
lintian_rc=$?
set -e
if [ $lintian_rc -eq 0 ]; then pass "lintian: no error"; else fail "lintian: $(grep '^E:' "$scratch/lintian.txt")"; fi
echo "lintian's tags: $(grep -E '^[EWIPX]:' "$scratch/lintian.txt" | cut -d' ' -f1-3 | sort | uniq -c | tr -s ' ' | tr '\n' ';')"
dpkg-deb -x "$deb" "$scratch/package"
for entry in "$scratch"/package/usr/share/applications/*.desktop; do
  said=$(desktop-file-validate "$entry" 2>&1) && [ -z "$said" ] && pass "desktop-file-validate ${entry##*/}" ||
    fail "desktop-file-validate ${entry##*/}: $said"
  # A menu start runs in the installed data folder, not in the home folder.
  path=$(sed -n 's/^Path=//p' "$entry")
  if [ -n "$path" ] && [ -f "$scratch/package$path/qzt_dmbl.xm" ]; then
    pass "${entry##*/} starts in the data folder $path"
  else
    fail "${entry##*/}: Path='$path' is not the installed data folder"
  fi
done
for metainfo in "$scratch"/package/usr/share/metainfo/*.xml; do
  said=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) &&
    pass "appstreamcli validate ${metainfo##*/}" || fail "appstreamcli validate ${metainfo##*/}: $said"
done
for page in qzt-dmbl qzt-dmbl-fullscreen qzt-dmbl-capture; do
  file=$scratch/package/usr/share/man/man6/$page.6.gz
  text=$(MANWIDTH=80 man -l "$file" 2>/dev/null || true)
  warnings=$(man --warnings -E UTF-8 -l "$file" 2>&1 > /dev/null || true)
  if grep -q "^NAME" <<< "$text" && grep -q "$page" <<< "$text" && [ -z "$warnings" ]; then
    pass "man -l $page.6.gz renders ($(wc -l <<< "$text") lines)"
  else
    fail "man -l $page.6.gz: $warnings"
  fi
done
# The demo programs ignore their arguments; their page says so.
if MANWIDTH=80 man -l "$scratch/package/usr/share/man/man6/qzt-dmbl.6.gz" 2>/dev/null | tr -s ' \n' ' ' |
   grep -q "Neither program takes options: any arguments are ignored"; then
  pass "qzt-dmbl.6: the programs take no options"
else
  fail "qzt-dmbl.6 does not say that the programs take no options"
fi

echo "== a private X server"
start_x_session "$scratch"

# Runs a demo program (the command in the rest of the arguments), waits for
# its window (found by its class, the program's name), notes its title, takes
# the screen, presses Escape; prints the exit code.
run_windowed() {
  local run=$1 class=$2
  shift 2
  "$@" > "$scratch/$run.out" 2> "$scratch/$run.err" &
  local pid=$! window="" rc=timeout
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --class "^$class\$" 2> /dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.2
  done
  if [ -n "$window" ]; then
    sleep 3
    xdotool getwindowname "$window" > "$scratch/$run.title" 2> /dev/null || true
    import -window root -depth 8 "$scratch/$run.png" 2> /dev/null || true
    xdotool windowactivate --sync "$window" 2> /dev/null || true
    xdotool key Escape
  fi
  for _ in $(seq 100); do
    if ! kill -0 "$pid" 2> /dev/null; then
      set +e; wait "$pid"; rc=$?; set -e
      break
    fi
    sleep 0.2
  done
  if [ "$rc" = timeout ]; then kill "$pid" 2> /dev/null || true; wait "$pid" 2> /dev/null || true; fi
  [ -n "$window" ] || rc=no-window
  echo "$rc"
}
# The run's exit code, screen and messages against the native program's.
check_windowed() {  # run rc
  if [ "$2" = 0 ]; then pass "$1: Escape ends it with exit code 0"; else fail "$1: exit code $2 $(cat "$scratch/$1.err")"; fi
  local colours
  colours=$(identify -format '%k' "$scratch/$1.png" 2> /dev/null || echo 0)
  if [ "$colours" -gt 1000 ]; then pass "$1: a picture on the screen ($colours colours)"
  else fail "$1: no picture ($colours colours)"; fi
  if [ -s "$scratch/$1.out" ] && cmp -s "$scratch/native.out" "$scratch/$1.out"; then
    pass "$1: the native program's messages"
  else
    fail "$1: messages $(od -c "$scratch/$1.out" | head -n 5)"
  fi
}
check_title() {  # run
  if [ "$(cat "$scratch/$1.title")" = test ]; then pass "$1: the window's title is the demo's"
  else fail "$1: title '$(cat "$scratch/$1.title")'"; fi
}
native_rc=$(cd "$native/bin" && run_windowed native demo_windowed ./demo_windowed)
[ "$native_rc" = 0 ] || fail "the native demo_windowed: exit code $native_rc"
check_title native

echo "== the minimal Debian 12 system"
start=$(now)
pristine=$("$root/tools/scripts/linux-chroot.sh")
cp -a --reflink=auto "$pristine" "$sysroot"
cp /etc/resolv.conf "$sysroot/etc/resolv.conf" 2> /dev/null || true
printf '#!/bin/sh\nexit 101\n' > "$sysroot/usr/sbin/policy-rc.d"  # no services start in there
chmod 0755 "$sysroot/usr/sbin/policy-rc.d"
mkdir -p "$apt_cache/partial"
# The system's graphics and audio stack, as every desktop has it: the
# packages the archive's README says the system must provide.
tar -xzf "$tarball" -O "$folder/README.txt" > "$scratch/archive-readme.txt"
mapfile -t system_packages < <(grep -oP '\(Debian: \K[^)]+' "$scratch/archive-readme.txt" | sort -u)
apt_in_debian update
if [ ${#system_packages[@]} -gt 0 ] &&
   apt_in_debian "install -y --no-install-recommends ${system_packages[*]}" > "$scratch/apt-system.txt" 2>&1; then
  pass "the README's system libraries installed: ${system_packages[*]}"
else
  fail "the README's system libraries (${system_packages[*]}): $(tail -n 5 "$scratch/apt-system.txt" 2>/dev/null)"
fi
in_debian "dpkg-query -W -f='\${Package}\n' | sort" > "$scratch/packages-before.txt"
echo "copied in $(( $(now) - start )) s ($(wc -l < "$scratch/packages-before.txt") packages)"

echo "== the archive in the bare system"
if in_debian "dpkg-query -W libsdl2-2.0-0 libopenmpt0 2> /dev/null; ldconfig -p | grep -E 'libSDL2|libopenmpt'"; then
  fail "the system is not bare: SDL2 or libopenmpt is there"
else
  pass "neither SDL2 nor libopenmpt in the system"
fi
tar -xzf "$tarball" -C "$sysroot/opt"
missing=$(in_debian "ldd /opt/$folder/qzt-dmbl /opt/$folder/qzt-dmbl-fullscreen /opt/$folder/qzt-dmbl-capture" |
          grep -E 'not found|libSDL2|libopenmpt' | grep -v "=> /opt/$folder/lib/" || true)
if [ -z "$missing" ]; then pass "every library found, SDL2 and libopenmpt in the archive's lib/"
else fail "libraries: $missing"; fi
# The graphics and audio stack stays the system's: none of it in lib/, and
# what the programs and lib/ ask of the system is the C and C++ runtime and
# what the README lists.
stack='^(libGL[A-Za-z]*|libEGL|libX11|libxcb|libdrm|libgbm|libwayland|libasound|libfontconfig|libfreetype|libexpat|libz)[.-]'
bundled_stack=$(tar -tzf "$tarball" | sed -n "s|^$folder/lib/||p" | grep -E "$stack" | tr '\n' ' ' || true)
if [ -z "$bundled_stack" ]; then pass "no library of the system's graphics and audio stack in lib/"
else fail "lib/ bundles the system's stack: $bundled_stack"; fi
runtime='^(linux-vdso|ld-linux-x86-64|libc|libm|libdl|libpthread|librt|libresolv|libutil|libstdc\+\+|libgcc_s)\.so'
# What the archive's files need that lib/ does not hold.
unlisted=$(for f in "$sysroot/opt/$folder"/qzt-dmbl* "$sysroot/opt/$folder"/lib/*.so*; do
             objdump -p "$f" | awk '$1 == "NEEDED" {print $2}'
           done | sort -u | grep -Ev "$runtime" |
           while read -r soname; do
             [ -e "$sysroot/opt/$folder/lib/$soname" ] || grep -q "^    $soname " "$scratch/archive-readme.txt" ||
               echo "$soname"
           done)
if [ -z "$unlisted" ]; then pass "the libraries asked of the system are the runtime and the README's list"
else fail "asked of the system but not in the README: $unlisted"; fi
mkdir -p "$sysroot/tmp/elsewhere"
in_debian "cd /tmp/elsewhere && /opt/$folder/qzt-dmbl-capture $capture_args > out.txt 2> err.txt" ||
  fail "the archive's capture: $(cat "$sysroot/tmp/elsewhere/err.txt")"
check_capture "the archive's capture" "$sysroot/tmp/elsewhere"
# Without X11's locale files (any X desktop has them) the window has no title.
archive_rc=$(run_windowed archive qzt-dmbl "$root/tests/linux/in-debian.sh" "$sysroot" "$apt_cache" \
               "cd /tmp/elsewhere && exec /opt/$folder/qzt-dmbl")
check_windowed archive "$archive_rc"
rm -rf "$sysroot/opt/$folder" "$sysroot/tmp/elsewhere"

echo "== the package in the minimal system"
start=$(now)
cp "$deb" "$sysroot/tmp/"
apt_in_debian update
if apt_in_debian "install -y --no-install-recommends /tmp/${deb##*/}" > "$scratch/apt-install.txt" 2>&1; then
  pass "apt-get install ./${deb##*/} ($(grep -c '^Setting up' "$scratch/apt-install.txt") packages set up, $(( $(now) - start )) s)"
else
  fail "apt-get install: $(tail -n 5 "$scratch/apt-install.txt")"
fi
mkdir -p "$sysroot/tmp/empty"
in_debian "cd /tmp/empty && qzt-dmbl-capture $capture_args > out.txt 2> err.txt" ||
  fail "qzt-dmbl-capture: $(cat "$sysroot/tmp/empty/err.txt")"
check_capture "qzt-dmbl-capture" "$sysroot/tmp/empty"
rm -rf "$sysroot/tmp/empty" "$sysroot/tmp/${deb##*/}"
apt_in_debian "purge -y qzt-dmbl" > /dev/null
apt_in_debian "autoremove --purge -y" > /dev/null
left=""
while read -r path; do
  path=${path#.}
  [ -z "$path" ] || [ "$path" = / ] && continue
  if [ -e "$sysroot$path" ] || [ -L "$sysroot$path" ]; then
    [ -e "$pristine$path" ] || left="$left $path"
  fi
done < <(dpkg-deb --fsys-tarfile "$deb" | tar -t)
for f in "$sysroot"/var/lib/dpkg/info/qzt-dmbl.*; do [ -e "$f" ] && left="$left ${f#"$sysroot"}"; done
if [ -z "$left" ]; then pass "purged: no file of the package left"; else fail "left after purge:$left"; fi
in_debian "dpkg-query -W -f='\${Package}\n' | sort" > "$scratch/packages-after.txt"
if cmp -s "$scratch/packages-before.txt" "$scratch/packages-after.txt"; then
  pass "autoremove: the same packages as before the installation"
else
  fail "packages differ after purge and autoremove: $(diff "$scratch/packages-before.txt" "$scratch/packages-after.txt" | tr '\n' ' ')"
fi

echo "== the package on this machine"
was_installed=$(dpkg-query -W -f='${Status}' qzt-dmbl 2> /dev/null || true)
[ "$was_installed" = "install ok installed" ] || installed_here=yes
if apt-get -o DPkg::Lock::Timeout=1200 install -y -qq --reinstall "$deb" > "$scratch/host-install.txt" 2>&1; then
  pass "installed on this machine"
else
  fail "apt-get install on this machine: $(tail -n 5 "$scratch/host-install.txt")"
fi
mkdir -p "$scratch/anywhere"
installed_rc=$(cd "$scratch/anywhere" && run_windowed installed qzt-dmbl /usr/games/qzt-dmbl)
check_windowed installed "$installed_rc"
check_title installed
if [ -z "$(ls -A "$scratch/anywhere")" ]; then pass "installed: nothing written in the working folder"
else fail "installed: wrote $(ls -A "$scratch/anywhere")"; fi
# The screens stay for a look: BUILD_DIR/test-linux/*.png.
mkdir -p "$native/test-linux"
cp "$scratch"/*.png "$native/test-linux/" 2> /dev/null || true
if [ "$installed_here" = yes ]; then
  apt-get -o DPkg::Lock::Timeout=1200 purge -y -qq qzt-dmbl > /dev/null 2>&1
  installed_here=no
  if [ -e /usr/games/qzt-dmbl ] || [ -e /usr/share/games/qzt-dmbl ]; then fail "still there after purge"
  else pass "removed from this machine again"; fi
fi

echo "linux: $passed passed, $failed failed"
[ $failed -eq 0 ]
