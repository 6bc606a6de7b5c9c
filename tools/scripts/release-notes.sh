#!/usr/bin/env bash
# RELEASE-NOTES.md of a release on standard output, from
# tools/release/RELEASE-NOTES.md.in: the version, the commit and its date
# (SOURCE_DATE_EPOCH), each file's size and use, and the systems the
# project's checks run the files on (the versions of this machine's packages).
#   release-notes.sh VERSION COMMIT WINDOWS_ZIP DEB LINUX_TAR ARM64_DEB ARM64_TAR WEB_ZIP SRC_TAR
#   (run in dist/'s parent)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
[ $# -eq 9 ] || { echo "usage: release-notes.sh VERSION COMMIT WINDOWS_ZIP DEB LINUX_TAR ARM64_DEB ARM64_TAR WEB_ZIP SRC_TAR" >&2; exit 2; }
version=$1 commit=$2
: "${SOURCE_DATE_EPOCH:?release-notes.sh: SOURCE_DATE_EPOCH is not set}"
shift 2
uses=("Windows, 64-bit: the programs with SDL2" "Debian 12 and systems built on it, amd64"
      "other Linux desktops, x86-64: SDL2 and libopenmpt included"
      "Debian 12 and systems built on it, arm64 (64-bit ARM boards and computers)"
      "other Linux desktops, 64-bit ARM: SDL2 and libopenmpt included"
      "web browsers: the site for any static host"
      "building it all yourself: the source")

size() {  # bytes -> "N KB" or "N.N MB"
  awk -v b="$1" 'BEGIN { if (b < 1048576) printf "%d KB", (b + 1023) / 1024; else printf "%.1f MB", b / 1048576 }'
}
upstream_version() {  # Debian package -> its upstream version
  local version
  version=$(dpkg-query -W -f='${Version}' "$1" 2>/dev/null) || { echo "(not installed here)"; return; }
  echo "$version" | sed -E 's/^[0-9]+://; s/-[^-]*$//'
}

names=("$@")
files=""
for i in "${!names[@]}"; do
  f=${names[i]}
  files+="| \`$f\` | $(size "$(stat -c %s "dist/$f")") | ${uses[i]} |"$'\n'
done
debian="Debian $(cat /etc/debian_version) amd64"
tested="- $debian, the release machine: the unit tests, the golden frames and the
  programs under Xvfb (\`make test\`), the Debian package installed and run
  (\`make test-linux\`).
- A minimal Debian 12 (debootstrap minbase, without SDL2 or libopenmpt): the
  Linux archive's programs, and the Debian package installed by apt with what
  it brings (\`make test-linux\`).
- Windows under Wine $(upstream_version wine64) on $debian, not on Windows itself: the
  Windows unit tests, the capture and \`demo_windowed.exe\` (\`make test-windows\`).
- Headless Chromium $(upstream_version chromium) and Node $(upstream_version nodejs) on $debian:
  the page playing, installed and offline, and the capture (\`make test-web\`).
- 64-bit ARM under qemu-aarch64 $(upstream_version qemu-user-static) on $debian, not on ARM
  hardware: the unit tests, the golden frames, the capture and the archive's
  capture, and the arm64 package's contents (\`make test-linux-arm64\`)."

awk -v files="${files%$'\n'}" -v tested="$tested" -v version="$version" -v commit="${commit:0:12}" \
    -v date="$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)" '
  { gsub(/@VERSION@/, version); gsub(/@COMMIT@/, commit); gsub(/@DATE@/, date) }
  /^@FILES@$/ { print files; next }
  /^@TESTED@$/ { print tested; next }
  { print }' "$root/tools/release/RELEASE-NOTES.md.in"
