#!/usr/bin/env bash
# Builds the release packages into dist/ from a Release build of Tessary.exe (optimised, stripped,
# static runtime, versioned from the VERSION file):
#   dist/Tessary-<version>-win64.zip   the program to unpack anywhere and run (a portable copy)
#   dist/Tessary-<version>-setup.exe   a per-user installer made with NSIS
# Prints both files and the executable's size.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"

version=$(head -n 1 "$root/VERSION")
build="$root/build/release"
dist="$root/dist"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)" --target Tessary tessary_data

# What a user gets, in a folder named after the program: the zip unpacks to it, the installer
# installs its contents.
stage="$build/stage/Tessary"
rm -rf "$build/stage"
mkdir -p "$stage" "$dist"
cp "$build/bin/Tessary.exe" "$build/bin/MonitorShading.png" "$build/bin/MonitorGlare.png" \
    "$root/README.md" "$stage/"
cp "$root/LICENSE" "$stage/LICENSE.txt"

zip_file="$dist/Tessary-$version-win64.zip"
setup_file="$dist/Tessary-$version-setup.exe"
rm -f "$zip_file" "$setup_file"
(cd "$build/stage" && zip -q -9 -r -X "$zip_file" Tessary)
# makensis reads the script's relative paths (the icon) from the script's folder.
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup_file" "$root/resources/installer.nsi"

size() { stat -c %s "$1"; }
echo "package: $zip_file ($(size "$zip_file") bytes)"
echo "package: $setup_file ($(size "$setup_file") bytes)"
echo "package: Tessary.exe $(size "$stage/Tessary.exe") bytes"
