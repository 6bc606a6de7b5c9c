#!/usr/bin/env bash
# The Windows build: cross-compiles the programs and the Windows tests with
# mingw-w64 into BUILD_DIR and packs dist/qzt-dmbl-VERSION-windows-x86_64.zip,
# the same bytes for the same commit (entries sorted, the commit's date, fixed
# modes).
#   windows-build.sh [BUILD_DIR] [extra cmake options...]
# The Windows libraries come from windows-deps.sh (built once, cached). Built
# programs run under Wine with a Wine folder of the build's own (BUILD_DIR/wine),
# also during the build: the data generator writes the data files.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-windows}
shift || true
arch=x86_64
cd "$root"

mapfile -t prefixes < <(tools/scripts/windows-deps.sh "$arch")
[ ${#prefixes[@]} -eq 3 ] || { echo "windows-build.sh: the Windows libraries are missing" >&2; exit 1; }

mkdir -p "$build"
build=$(cd "$build" && pwd)
wine_env=(WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64)
if [ ! -f "$build/wine/system.reg" ]; then
  echo "making the Wine folder $build/wine"
  env "${wine_env[@]}" /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
  env "${wine_env[@]}" /usr/lib/wine/wineserver -w 2>/dev/null || true
  [ -f "$build/wine/system.reg" ] || { echo "windows-build.sh: Wine did not start" >&2; exit 1; }
fi

# Configured on every run, so that options given now take effect on a
# build folder made earlier.
emulator="env"
for v in "${wine_env[@]}"; do emulator+=";$v"; done
emulator+=";/usr/lib/wine/wine64"
prefix_list=$(IFS=';'; echo "${prefixes[*]}")
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-$arch.cmake" \
  -DDEMO_DEPS_PREFIXES="$prefix_list" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$emulator" "$@" >/dev/null
cmake --build "$build" -j "${DEMO_JOBS:-2}"

# The zip: programs, DLLs, data files and the README, in one folder.
version=$(head -n1 VERSION)
name=qzt-dmbl-$version-windows-$arch
stage=$build/$name
rm -rf "$stage"
mkdir -p "$stage" dist
bin=$build/bin
mapfile -t data_files < tools/data-files.txt
for f in demo_windowed.exe demo_fullscreen.exe demo_capture.exe SDL2.dll libwinpthread-1.dll \
         "${data_files[@]}"; do
  cp "$bin/$f" "$stage/"
done
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' tools/windows/README.txt > "$stage/README.txt"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
rm -f "dist/$name.zip.part"
(cd "$build" && "$root/tools/scripts/zip-folder.sh" "$name" "$root/dist/$name.zip.part")
mv "dist/$name.zip.part" "dist/$name.zip"
echo "windows-build.sh: dist/$name.zip ($(du -k "dist/$name.zip" | cut -f1) KB)"
