#!/usr/bin/env bash
# Runs a shell command in a copy of the minimal Debian system, as root, with
# /proc, /dev, this machine's X sockets (DISPLAY and SDL's dummy sound
# output are passed on) and apt's download cache mounted, in a mount
# namespace of its own that ends with the command. Stopping this process
# stops the command.
#   in-debian.sh SYSROOT APT_CACHE COMMAND
set -euo pipefail
exec unshare --mount --propagation private --fork --kill-child -- /bin/sh -c '
  set -e
  r=$1
  mount -t proc proc "$r/proc"
  mount --rbind /dev "$r/dev"
  mkdir -p "$r/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$r/tmp/.X11-unix"
  mount --bind "$2" "$r/var/cache/apt/archives"
  exec chroot "$r" /usr/bin/env -i HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin:/usr/games \
    DISPLAY="$3" SDL_AUDIODRIVER=dummy /bin/sh -c "$4"
' sh "$1" "$2" "${DISPLAY:-}" "$3"
