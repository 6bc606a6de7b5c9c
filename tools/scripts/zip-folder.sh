#!/usr/bin/env bash
# Zips a folder so that the same files give the same bytes: entries in byte
# order of their names, every date SOURCE_DATE_EPOCH, files 0644 (programs
# and libraries 0755), folders 0755, no owners or extra time fields. Run
# from the folder's parent; with --contents the folder's files go to the top
# of the zip, without the folder itself.
#   zip-folder.sh [--contents] FOLDER ZIP
set -euo pipefail
contents=no
if [ "${1:-}" = "--contents" ]; then contents=yes; shift; fi
[ $# -eq 2 ] || { echo "usage: zip-folder.sh [--contents] FOLDER ZIP" >&2; exit 2; }
folder=$1
zip_file=$(realpath -m "$2")
: "${SOURCE_DATE_EPOCH:?zip-folder.sh: SOURCE_DATE_EPOCH is not set}"
"$(dirname "$0")/apt-install-missing.sh" zip

find "$folder" -type d -exec chmod 0755 {} +
find "$folder" -type f -exec chmod 0644 {} +
find "$folder" -type f \( -name '*.exe' -o -name '*.dll' \) -exec chmod 0755 {} +
find "$folder" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
rm -f "$zip_file"
# zip writes local times: in UTC they are the dates above.
if [ "$contents" = yes ]; then
  (cd "$folder" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort | TZ=UTC0 zip -q -X -@ "$zip_file")
else
  find "$folder" | LC_ALL=C sort | TZ=UTC0 zip -q -X -@ "$zip_file"
fi
