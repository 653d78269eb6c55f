#!/usr/bin/env bash
# Runs a Windows executable under Wine with the project's settings; CMake uses it as the
# cross-compiling emulator, so CTest runs the Windows tests through it.
set -u
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
if [ -z "${WINEPREFIX:-}" ]; then
    echo "wine-run: WINEPREFIX is not set (tools/test.sh sets it)" >&2
    exit 2
fi
exe=$1
shift
cd "$(dirname "$exe")" || exit 2
exec wine "$exe" "$@"
