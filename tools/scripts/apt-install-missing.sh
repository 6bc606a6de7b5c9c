#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are not
# installed yet; touches apt only when one is missing. Messages go to
# standard error, so callers may print results on standard output.
#   apt-install-missing.sh PACKAGE...
set -euo pipefail
missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# Two scripts may install at once (make -j): wait for apt's lock.
$sudo apt-get -o DPkg::Lock::Timeout=1200 update -qq >&2
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=1200 install -y -qq \
  --no-install-recommends "${missing[@]}" >&2
