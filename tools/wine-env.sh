# Sourced by the scripts that run Tessary under Wine: a private X display and a private
# Wine prefix, both removed again by wine_env_stop (also when a test fails or hangs).
WINE_ENV_XVFB_PID=""
WINE_ENV_PREFIX=""

wine_env_start() { # build-dir [screen-geometry] [--dpi N] [--screens "WxHxD WxHxD ..."]
    local build; build=$(cd "$1" && pwd); shift
    local geometry=1280x1024x24 dpi="" screens="" d
    if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then geometry=$1; shift; fi
    while [ $# -gt 0 ]; do
        case $1 in
            --dpi) dpi=$2; shift 2 ;;
            --screens) screens=$2; shift 2 ;;
            *) echo "wine_env_start: unknown option $1" >&2; return 2 ;;
        esac
    done
    for d in $(seq 90 150); do
        if [ ! -e "/tmp/.X11-unix/X$d" ] && [ ! -e "/tmp/.X$d-lock" ]; then break; fi
    done
    # Several screens joined by Xinerama are several monitors to Wine (with XRandR off).
    local xargs=(-screen 0 "$geometry") n=0 s
    if [ -n "$screens" ]; then
        xargs=(+xinerama)
        for s in $screens; do xargs+=(-screen "$n" "$s"); n=$((n + 1)); done
    fi
    Xvfb ":$d" "${xargs[@]}" -nolisten tcp >/dev/null 2>&1 &
    WINE_ENV_XVFB_PID=$!
    export DISPLAY=":$d"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$d" ] && break; sleep 0.1; done
    WINE_ENV_PREFIX="$build/wineprefix.$$"
    export WINEPREFIX="$WINE_ENV_PREFIX"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    wineboot -i >/dev/null 2>&1 || true
    if [ -n "$screens" ]; then
        # A virtual desktop would be one monitor: windows go straight onto the X screens.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1 || true
    else
        # Every program runs in a Wine virtual desktop of the display's size: Wine then manages the
        # windows itself (maximising works without a window manager) and paints the wallpaper.
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d "${geometry%x*}" /f >/dev/null 2>&1 || true
    fi
    if [ -n "$dpi" ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || true
    fi
    # Restart so the settings take effect, with the desktop started here and its output going
    # nowhere (a desktop started by a test would hold the test's output pipe open).
    wineserver -k >/dev/null 2>&1 || true
    wineserver -p >/dev/null 2>&1 || true
    wineboot >/dev/null 2>&1 </dev/null || true
}

wine_env_stop() {
    if [ -n "$WINE_ENV_PREFIX" ]; then
        WINEPREFIX="$WINE_ENV_PREFIX" wineserver -k >/dev/null 2>&1 || true
        sleep 0.5
        rm -rf "$WINE_ENV_PREFIX"
        WINE_ENV_PREFIX=""
    fi
    if [ -n "$WINE_ENV_XVFB_PID" ]; then
        kill "$WINE_ENV_XVFB_PID" >/dev/null 2>&1 || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=""
    fi
}
