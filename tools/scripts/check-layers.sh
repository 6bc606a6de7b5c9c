#!/usr/bin/env bash
# Checks that the layers of src/ include only downward, and that system
# headers are included only in platform folders. The layers:
#   raster -> effects -> scene -> display -> driver
#                                 sound   ->
# A file of a layer may include its own layer and those below it, never
# one above it nor its sibling; the sound layer is the music alone and
# includes nothing of the picture. Prints each offending include; exit 1 if any.
set -euo pipefail
cd "$(dirname "$0")/../.."

declare -A allowed=(
  [raster]="raster"
  [effects]="raster effects"
  [scene]="raster effects scene"
  [display]="raster effects scene display"
  [sound]="sound"
  [driver]="raster effects scene display sound driver"
)

status=0
for layer in "${!allowed[@]}"; do
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<< "$line")
    if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
      echo "layer $layer includes $target: $line"
      status=1
    fi
  done < <(grep -rHnE '^[[:space:]]*#[[:space:]]*include "[a-z_]+/' "src/$layer" || true)
done
[ $status -eq 0 ] && echo "layers: every include runs downward"

# The system's own interfaces (POSIX, Win32) are reached only from the
# platform folders: a file elsewhere that includes one of their headers is
# reported.
system_headers='<(sys|netinet|arpa)/[a-z_]+\.h>|<(unistd|fcntl|spawn|signal|poll|termios|dlfcn|pwd|grp|dirent|pthread|windows|io|direct|process|shellapi|winsock2)\.h>'
platform_status=0
while IFS= read -r line; do
  echo "system header outside a platform folder: $line"
  platform_status=1
done < <(grep -rHnEi "^[[:space:]]*#[[:space:]]*include[[:space:]]*($system_headers)" src tools web bench tests \
           --include='*.cpp' --include='*.h' | grep -v '/platform/' || true)
[ $platform_status -eq 0 ] && echo "platform: system headers only in platform folders"
[ $platform_status -eq 0 ] || status=1
exit $status
