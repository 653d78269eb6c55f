# Sourced by the scripts that run Tessary under Wine: a private X display and a private
# Wine prefix, both removed again by wine_env_stop (also when a test fails or hangs).
WINE_ENV_XVFB_PID=""
WINE_ENV_PREFIX=""

wine_env_start() { # build-dir [screen-geometry]
    local build; build=$(cd "$1" && pwd); local geometry=${2:-1280x1024x24} d
    for d in $(seq 90 150); do
        if [ ! -e "/tmp/.X11-unix/X$d" ] && [ ! -e "/tmp/.X$d-lock" ]; then break; fi
    done
    Xvfb ":$d" -screen 0 "$geometry" -nolisten tcp >/dev/null 2>&1 &
    WINE_ENV_XVFB_PID=$!
    export DISPLAY=":$d"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$d" ] && break; sleep 0.1; done
    WINE_ENV_PREFIX="$build/wineprefix.$$"
    export WINEPREFIX="$WINE_ENV_PREFIX"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    wineboot -i >/dev/null 2>&1 || true
    # Every program runs in a Wine virtual desktop of the display's size: Wine then manages the
    # windows itself (maximising works without a window manager) and paints the wallpaper.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d "${geometry%x*}" /f >/dev/null 2>&1 || true
    # Restart so the desktop comes up as the virtual one, started here with its output going
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
    fi
    if [ -n "$WINE_ENV_XVFB_PID" ]; then
        kill "$WINE_ENV_XVFB_PID" >/dev/null 2>&1 || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    fi
}
