#!/usr/bin/env bash
# Checks that the layers of src/ include only downward:
#   raster -> effects -> scene -> (display | sound) -> driver
# A file of a layer may include its own layer and those below it, never
# one above it nor its sibling. Prints each offending include; exit 1 if any.
set -euo pipefail
cd "$(dirname "$0")/../.."

declare -A allowed=(
  [raster]="raster"
  [effects]="raster effects"
  [scene]="raster effects scene"
  [display]="raster effects scene display"
  [sound]="raster effects scene sound"
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
exit $status
