#!/usr/bin/env bash
# Builds both builds and runs every test: the native unit tests, then the Windows tests under
# Wine on a private headless display and in a private Wine prefix, both removed afterwards.
# Exits non-zero on any failure.
# tools/test.sh --package instead builds the release packages and tests them (tools/test-package.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = --package ]; then
    exec "$root/tools/test-package.sh"
fi
"$root/tools/setup.sh"

echo "== include check"
python3 "$root/tools/check_includes.py"

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
trap wine_env_stop EXIT
# Most tests share one display; those named *_hidpi need a 144-DPI prefix and those named
# *_monitors two monitors, each in an environment of its own.
run_suite() { # label-selection, then wine_env_start options
    local select=$1; shift
    local listed; listed=$(ctest --test-dir "$win" -N $select "${ctest_args[@]}")
    if ! grep -q "Test *#" <<<"$listed"; then return 0; fi
    wine_env_start "$win" "$@"
    ctest --test-dir "$win" --output-on-failure $select "${ctest_args[@]}" || status=1
    wine_env_stop
}
ctest_args=("$@")
run_suite "-LE hidpi|monitors"
run_suite "-L hidpi" 1920x1080x24 --dpi 144
run_suite "-L monitors" --screens "1280x1024x24 1920x1080x24"
exit $status
