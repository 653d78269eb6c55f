#!/usr/bin/env bash
# Line coverage of src/ by the test suite, in builds of their own (build/cov-native, build/cov-win):
# the native unit tests through gcov, the Windows tests under Wine through MinGW's gcov (its
# runtime writes the .gcda files through Wine's Z: drive), and the two merged.
# Usage: tools/coverage.sh [native|win|all] [ctest arguments for the Windows tests]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-all}
[ $# -gt 0 ] && shift
"$root/tools/setup.sh"
command -v gcovr >/dev/null || { echo "coverage: needs gcovr (apt-get install gcovr)" >&2; exit 1; }

cov=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS=--coverage
     -DCMAKE_EXE_LINKER_FLAGS=--coverage)
native="$root/build/cov-native"
win="$root/build/cov-win"
report() { # name build-dir gcov-executable
    gcovr -r "$root" -f "$root/src/" --gcov-exclude ".*CompilerId.*" --object-directory "$2" --gcov-executable "$3" \
        --json "$root/build/coverage-$1.json" "$2" >/dev/null
    echo "== line coverage of src/: $1"
    gcovr -r "$root" -a "$root/build/coverage-$1.json" -s | tail -3
}

if [ "$what" = native ] || [ "$what" = all ]; then
    cmake -S "$root" -B "$native" -G Ninja "${cov[@]}" >/dev/null
    cmake --build "$native" -j "$(nproc)" --target unit_tests
    find "$native" -name '*.gcda' -delete
    ctest --test-dir "$native" --output-on-failure || true
    report native "$native" gcov
fi
if [ "$what" = win ] || [ "$what" = all ]; then
    cmake -S "$root" -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" "${cov[@]}" >/dev/null
    cmake --build "$win" -j "$(nproc)"
    find "$win" -name '*.gcda' -delete
    source "$root/tools/wine-env.sh"
    trap wine_env_stop EXIT
    # The suites as tools/test.sh runs them: the 144-DPI and two-monitor tests on displays of their own.
    ctest_args=("$@")
    run_suite() { # label-selection, then wine_env_start options
        wine_env_start "$win" "${@:2}"
        ctest --test-dir "$win" --output-on-failure $1 "${ctest_args[@]}" || true
        wine_env_stop
    }
    run_suite "-LE hidpi|monitors"
    run_suite "-L hidpi" 1920x1080x24 --dpi 144
    run_suite "-L monitors" --screens "1280x1024x24 1920x1080x24"
    report win "$win" x86_64-w64-mingw32-gcov
fi
if [ "$what" = all ]; then
    echo "== line coverage of src/: both suites"
    gcovr -r "$root" -a "$root/build/coverage-native.json" -a "$root/build/coverage-win.json" -s | tail -3
fi
