#!/usr/bin/env bash
# make test-release: the release in dist/ (make release, from this checkout's
# build folders) against a second one made from the same commit in a fresh
# clone elsewhere, from clean build folders, without the compiler cache and
# without the tests (TESTS=OFF: only what the downloads hold is compiled).
# Passes when the two SHA256SUMS are the same; otherwise names the files that
# differ and, inside them, the entries that differ.
#   test-release.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
[ -f dist/SHA256SUMS ] || { echo "test-release.sh: no dist/SHA256SUMS; run make release first" >&2; exit 1; }
commit=$(git rev-parse HEAD)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/demo-release-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
clone=$scratch/qzt-dmbl
git clone -q --no-hardlinks "$root" "$clone"
git -C "$clone" checkout -q --detach "$commit"

start=$(date +%s)
CCACHE_DISABLE=1 "${MAKE:-make}" --no-print-directory -C "$clone" release TESTS=OFF > "$scratch/release.log" 2>&1 ||
  { tail -n 30 "$scratch/release.log" >&2; echo "FAIL: make release in a fresh clone" >&2; exit 1; }
echo "test-release.sh: the second release took $(( $(date +%s) - start )) s"

# Unpacks an archive of dist/ into a folder, for comparing entries.
unpack() {
  mkdir -p "$2"
  case "$1" in
    *.zip) unzip -q "$1" -d "$2" ;;
    *.tar.gz) tar -xzf "$1" -C "$2" ;;
    *.deb) dpkg-deb -R "$1" "$2" ;;
    *) cp "$1" "$2/" ;;
  esac
}

if cmp -s dist/SHA256SUMS "$clone/dist/SHA256SUMS"; then
  echo "PASS: the same SHA256SUMS from a second build in clean folders:"
  sed 's/^/  /' dist/SHA256SUMS
  exit 0
fi
echo "FAIL: the second build's SHA256SUMS differs:"
diff dist/SHA256SUMS "$clone/dist/SHA256SUMS" | sed 's/^/  /' || true
while read -r _ file; do
  cmp -s "dist/$file" "$clone/dist/$file" && continue
  unpack "dist/$file" "$scratch/first/$file"
  unpack "$clone/dist/$file" "$scratch/second/$file"
  echo "  in $file:"
  diff -r -q "$scratch/first/$file" "$scratch/second/$file" | sed "s|$scratch/||g; s/^/    /" ||
    echo "    the same entries: only the archive's own headers (dates, order, modes) differ"
done < dist/SHA256SUMS
exit 1
