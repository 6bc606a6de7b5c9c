#!/usr/bin/env bash
# make release: every download of the checked-out commit into dist/, the same
# bytes every time the same commit is built:
#   qzt-dmbl-VERSION-windows-x86_64.zip   (make windows)
#   qzt-dmbl_VERSION_amd64.deb            (make linux)
#   qzt-dmbl-VERSION-linux-x86_64.tar.gz  (make linux)
#   qzt-dmbl_VERSION_arm64.deb            (make linux-arm64)
#   qzt-dmbl-VERSION-linux-aarch64.tar.gz (make linux-arm64)
#   qzt-dmbl-VERSION-web.zip              the site of make web, index.html at the top
#   qzt-dmbl-VERSION-src.tar.gz           git archive of the commit
#   RELEASE-NOTES.md                      from tools/release/RELEASE-NOTES.md.in
#   SHA256SUMS                            over all of the above
# The builds are made when missing and reused when made; all dates are the
# commit's (SOURCE_DATE_EPOCH). A release is of a commit: changed or untracked
# files in the checkout are refused, since the programs would not be the
# source archive's.
#   release.sh [BUILD_DIR] [WEB_BUILD_DIR] [WINDOWS_BUILD_DIR] [ARM64_BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
build=${1:-build}
build_web=${2:-build-web}
build_win=${3:-build-windows}
build_arm64=${4:-build-arm64}
"$root/tools/scripts/apt-install-missing.sh" git zip

changes=$(git status --porcelain --untracked-files=normal)
if [ -n "$changes" ]; then
  echo "release.sh: the checkout differs from its commit; commit or remove these first:" >&2
  echo "$changes" >&2
  exit 1
fi
version=$(head -n1 VERSION)
commit=$(git rev-parse HEAD)
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
umask 022

"${MAKE:-make}" --no-print-directory BUILD="$build" BUILD_WEB="$build_web" BUILD_WIN="$build_win" \
  BUILD_ARM64="$build_arm64" linux windows web linux-arm64

name=qzt-dmbl-$version
windows_zip=$name-windows-x86_64.zip
deb=qzt-dmbl_${version}_amd64.deb
linux_tar=$name-linux-x86_64.tar.gz
arm64_deb=qzt-dmbl_${version}_arm64.deb
arm64_tar=$name-linux-aarch64.tar.gz
web_zip=$name-web.zip
src_tar=$name-src.tar.gz

# The web site: every file of the site's folder (the service worker stores
# exactly those), at the top of the zip.
stage=$(mktemp -d "${TMPDIR:-/tmp}/demo-release.XXXXXX")
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/site"
find "$build_web/site" -maxdepth 1 -type f -exec cp {} "$stage/site/" \;
(cd "$stage" && "$root/tools/scripts/zip-folder.sh" --contents site "$root/dist/$web_zip")

# The source: the commit's files in one folder, dated the commit's time.
git archive --format=tar --prefix="$name/" "$commit" | gzip -9n > "dist/$src_tar.part"
mv "dist/$src_tar.part" "dist/$src_tar"

files=("$windows_zip" "$deb" "$linux_tar" "$arm64_deb" "$arm64_tar" "$web_zip" "$src_tar")
"$root/tools/scripts/release-notes.sh" "$version" "$commit" "${files[@]}" > dist/RELEASE-NOTES.md
(cd dist && sha256sum "${files[@]}" RELEASE-NOTES.md > SHA256SUMS)

echo "release.sh: qzt-dmbl $version, commit $commit, in dist/:"
(cd dist && for f in "${files[@]}" RELEASE-NOTES.md SHA256SUMS; do
   printf '  %-40s %9d bytes\n' "$f" "$(stat -c %s "$f")"
 done)
