#!/usr/bin/env bash
# Unpacks the Debian source package PACKAGE into DEST/PACKAGE-VERSION and
# prints that folder. The sources come from the mirror the system already
# uses, through a private apt state (a deb-src entry of its own), so the
# system's apt configuration is left untouched. Needs dpkg-dev.
#   debian-source.sh PACKAGE DEST
set -euo pipefail
package=$1
dest=$2
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
state="$dest/.apt-state"
mkdir -p "$state/lists/partial" "$state/cache/archives/partial"

# The first mirror of the system's configuration (deb822 or one-line form).
mirror=""
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
  mirror=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources)
fi
if [ -z "$mirror" ] && [ -f /etc/apt/sources.list ]; then
  mirror=$(awk '$1 == "deb" {print $2; exit}' /etc/apt/sources.list)
fi
mirror=${mirror:-http://deb.debian.org/debian}
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
echo "deb-src $mirror $codename main" > "$state/sources.list"

apt_opts=(-o "Dir::Etc::SourceList=$state/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
          -o "Dir::State::Lists=$state/lists" -o "Dir::Cache=$state/cache"
          -o "APT::Sandbox::User=root" -qq)
if [ ! -f "$state/updated" ]; then
  apt-get "${apt_opts[@]}" update >&2
  touch "$state/updated"
fi
cd "$dest"
existing=$(find . -maxdepth 1 -type d -name "$package-[0-9]*" | head -n1)
if [ -z "$existing" ]; then
  apt-get "${apt_opts[@]}" source "$package" >&2
  existing=$(find . -maxdepth 1 -type d -name "$package-[0-9]*" | head -n1)
fi
[ -n "$existing" ] || { echo "debian-source.sh: no source folder for $package" >&2; exit 1; }
echo "$dest/${existing#./}"
