#!/usr/bin/env bash
# Builds Tessary and starts it under Wine in a virtual desktop the size of the screen, so a
# wallpaper that Tessary sets shows on that desktop. The first run selects a folder of demo
# pictures. Without a display it runs on a virtual one, saves a screenshot and ends.
# Settings and the Wine prefix persist in ~/.local/share/tessary between runs.
# Options: --dpi N runs at N dots per inch (96 is 100 %, 144 is 150 %); headless runs also take
# --screen WxH (the virtual display, 1280x1024 unless given) and --shot FILE (the screenshot).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dpi=96
screen=1280x1024
shot="$root/build/screenshot.png"
while [ $# -gt 0 ]; do
    case $1 in
        --dpi) dpi=$2; shift 2 ;;
        --shot) shot=$2; shift 2 ;;
        --screen) screen=$2; shift 2 ;;
        *) echo "run: unknown option $1" >&2; exit 2 ;;
    esac
done
"$root/tools/setup.sh"

build="$root/build/win"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)" --target Tessary tessary_data

data="${XDG_DATA_HOME:-$HOME/.local/share}/tessary"
export WINEPREFIX="$data/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
mkdir -p "$data"

headless=0
xvfb_pid=""
cleanup() {
    if [ "$headless" = 1 ]; then
        wineserver -k >/dev/null 2>&1 || true
        [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
    fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    headless=1
    for d in $(seq 150 200); do
        [ ! -e "/tmp/.X11-unix/X$d" ] && [ ! -e "/tmp/.X$d-lock" ] && break
    done
    Xvfb ":$d" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$d"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$d" ] && break; sleep 0.1; done
fi

size=$(xdpyinfo | awk '/dimensions:/ {print $2}' | head -1)
width=${size%x*}
height=${size#*x}
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1 || true
# The prefix's DPI; wineserver picks it up when it starts again.
if [ "$(wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels 2>/dev/null | awk '/LogPixels/ {print $3}')" != "$(printf '0x%x' "$dpi")" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || true
    wineserver -k >/dev/null 2>&1 || true
fi

# First run: the demo folder, unless the settings already name a folder.
key='HKCU\Software\VB and VBA Program Settings\Tessary\Program Configuration'
if ! wine reg query "$key" /v LastFolder >/dev/null 2>&1; then
    # Inside the prefix's own C: drive: Wine links the user's picture folder to $HOME.
    demo_unix="$WINEPREFIX/drive_c/Tessary Demo"
    /usr/bin/python3 "$root/tools/make_demo_pictures.py" "$demo_unix" "$width" "$height"
    demo_win='C:\Tessary Demo'
    wine reg add "$key" /v LastFolder /t REG_SZ /d "$demo_win" /f >/dev/null 2>&1
    echo "run: demo pictures in $demo_win"
fi

cd "$build/bin"
if [ "$headless" = 0 ]; then
    exec wine explorer "/desktop=Tessary,${width}x${height}" Tessary.exe
fi

wine explorer "/desktop=Tessary,${width}x${height}" Tessary.exe &
sleep "${TESSARY_SCREENSHOT_DELAY:-12}"
xwd -root -silent | convert xwd:- "$shot"
echo "run: no display here; Tessary ran on a virtual one. Screenshot: $shot"
