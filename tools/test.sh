#!/usr/bin/env bash
# Builds both builds and runs every test: the native unit tests, then the Windows tests under
# Wine on a private headless display and in a private Wine prefix, both removed afterwards.
# Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"

jobs=$(nproc)
native="$root/build/native"
win="$root/build/win"

echo "== native build"
cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$native" -j "$jobs"
echo "== windows build"
cmake -S "$root" -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$win" -j "$jobs"

status=0
echo "== native tests"
ctest --test-dir "$native" --output-on-failure || status=1

echo "== windows tests (Wine)"
source "$root/tools/wine-env.sh"
wine_env_start "$win"
trap wine_env_stop EXIT
ctest --test-dir "$win" --output-on-failure "$@" || status=1
exit $status
