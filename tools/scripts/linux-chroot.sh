#!/usr/bin/env bash
# Prints the folder of a minimal Debian 12 system (debootstrap, variant
# minbase) for the package tests, made once and cached outside the checkout
# in /var/cache/demo-deps/chroot-bookworm-minbase-amd64-KEY. KEY is made of
# the apt sources it gets and this recipe, so a change of either makes a new
# one. Its apt sources are the host's (the same mirror and suites, so the
# same package versions as here). Callers copy it and never change it.
# Needs root.
#   linux-chroot.sh
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "linux-chroot.sh: needs root (debootstrap)" >&2; exit 1; }
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/tools/scripts/apt-install-missing.sh" debootstrap
cache=${DEMO_DEPS_CACHE:-/var/cache/demo-deps}
suite=bookworm
arch=amd64
host_sources=/etc/apt/sources.list.d/debian.sources

# The first mirror of the system's configuration, as debian-source.sh finds it.
mirror=""
[ -f "$host_sources" ] && mirror=$(awk '/^URIs:/ {print $2; exit}' "$host_sources")
[ -z "$mirror" ] && [ -f /etc/apt/sources.list ] && mirror=$(awk '$1 == "deb" {print $2; exit}' /etc/apt/sources.list)
mirror=${mirror:-http://deb.debian.org/debian}

recipe="recipe 1: debootstrap --variant=minbase --arch=$arch $suite $mirror; the host's apt sources"
key=$( { echo "$recipe"; [ -f "$host_sources" ] && cat "$host_sources"; } | sha256sum | cut -c1-12)
dest="$cache/chroot-$suite-minbase-$arch-$key"
if [ -f "$dest/.demo-chroot-ready" ]; then
  echo "$dest"
  exit 0
fi

mkdir -p "$cache"
exec 9>"$cache/chroot.lock"
flock 9
if [ ! -f "$dest/.demo-chroot-ready" ]; then
  work="$dest.partial"
  rm -rf "$work"
  echo "linux-chroot.sh: making $dest (debootstrap from $mirror)" >&2
  debootstrap --variant=minbase --arch="$arch" "$suite" "$work" "$mirror" >&2
  if [ -f "$host_sources" ]; then
    cp "$host_sources" "$work/etc/apt/sources.list.d/debian.sources"
    rm -f "$work/etc/apt/sources.list"
  fi
  rm -rf "$work/var/cache/apt/archives/"*.deb
  echo "$recipe" > "$work/.demo-chroot-ready"
  mv "$work" "$dest"
fi
echo "$dest"
