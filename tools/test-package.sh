#!/usr/bin/env bash
# Tests the release packages as a Windows user gets them, each in a fresh Wine prefix:
#  - the zip, unpacked to a path with spaces and non-ASCII letters: the program starts and its
#    cache goes beside it; with its folder read-only the cache
#    goes to %LOCALAPPDATA%\Tessary; with that read-only too it runs without a cache and says so;
#  - the installer, run silently: installs per user, refuses while the program runs, upgrades in
#    place keeping the settings, and its uninstaller removes the program but keeps the cache.
# Run by tools/test.sh --package. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/package.sh"
version=$(head -n 1 "$root/VERSION")
release="$root/build/release"
cmake --build "$release" --target window_probe >/dev/null
probe="$release/bin/window_probe.exe"
zip_file="$root/dist/Tessary-$version-win64.zip"
setup_file="$root/dist/Tessary-$version-setup.exe"

export LC_ALL=C.UTF-8 # Wine names files in the locale's character set
source "$root/tools/wine-env.sh"
status=0
locked=()
unlock_all() {
    local d
    for d in "${locked[@]}"; do chattr -i "$d" 2>/dev/null || chmod u+w "$d" 2>/dev/null || true; done
    locked=()
}
cleanup() {
    unlock_all
    wine_env_stop
}
trap cleanup EXIT

fail() { echo "package test FAILED: $*" >&2; status=1; }
check() { # message command...: the command must succeed
    local message=$1; shift
    if "$@"; then echo "ok: $message"; else fail "$message"; fi
}
has_files() { compgen -G "$1" >/dev/null; }
no_files() { ! compgen -G "$1" >/dev/null; }

# No file can be created in the folder afterwards, not even by root; false where that cannot be
# arranged (the caller then skips what depends on it).
lock_folder() {
    if [ "$(id -u)" -eq 0 ]; then chattr +i "$1" 2>/dev/null || return 1; else chmod a-w "$1"; fi
    locked+=("$1")
    if touch "$1/.write-test" 2>/dev/null; then rm -f "$1/.write-test"; return 1; fi
}

start_program() { # unix path of Tessary.exe
    (cd "$(dirname "$1")" && wine "$1" >/dev/null 2>&1 &)
}
# Waits for the main window and prints what the probe saw; fails when it does not appear.
probe_window() { wine "$probe" wait 90 | tr -d '\r'; }
close_program() { wine "$probe" close 60 >/dev/null || fail "main window did not close"; sleep 1; }
panel_shows() { wine "$probe" wait 5 | tr -d '\r' | grep -q "$1"; }

new_prefix() {
    unlock_all
    wine_env_stop
    wine_env_start "$release" 1280x1024x24
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" # no menu entries on this machine
    local_app_data=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')")
    local_app_data=${local_app_data%/}
    pictures="$WINEPREFIX/drive_c/Pictures"
    /usr/bin/python3 "$root/tools/make_demo_pictures.py" "$pictures" 800 600
    wine reg add 'HKCU\Software\VB and VBA Program Settings\Tessary\Program Configuration' \
        /v LastFolder /t REG_SZ /d 'C:\Pictures' /f >/dev/null 2>&1
}
settings_key='HKCU\Software\VB and VBA Program Settings\Tessary\Program Configuration'
has_setting() { wine reg query "$settings_key" /v "$1" >/dev/null 2>&1; }
# Waits until the folder load has cached its thumbnails (the status bar then shows them).
wait_for() { local i; for i in $(seq 120); do "$@" && return 0; sleep 0.5; done; return 1; }

echo "== the zip"
new_prefix
program_dir="$WINEPREFIX/drive_c/Program Files/Tessary Ünïcödé 壁紙"
mkdir -p "$program_dir"
unzip -q "$zip_file" -d "$program_dir"
exe="$program_dir/Tessary/Tessary.exe"
start_program "$exe"
seen=$(probe_window) || fail "main window did not appear: $seen"
echo "$seen"
check "cache beside the program" wait_for has_files "$program_dir/Tessary/Cache/Pictures~*/*.jpg"
close_program
check "settings written on close" has_setting Width

rm -rf "$program_dir/Tessary/Cache" "$program_dir/Tessary/Tessary.bmp"
if lock_folder "$program_dir/Tessary"; then
    start_program "$exe"
    seen=$(probe_window) || fail "main window did not appear from a read-only folder: $seen"
    check "cache in %LOCALAPPDATA%\\Tessary" wait_for has_files "$local_app_data/Tessary/Cache/Pictures~*/*.jpg"
    check "cache figures count that cache" wait_for panel_shows '^panel3 Cache: 2 Dirs, [1-9]'
    close_program
    check "nothing written in the read-only folder" no_files "$program_dir/Tessary/Cache"

    rm -rf "$local_app_data/Tessary"
    if lock_folder "$local_app_data"; then
        start_program "$exe"
        seen=$(probe_window) || fail "main window did not appear without a data folder: $seen"
        check "status bar says there is no cache" wait_for panel_shows '^panel3 No cache: no writable folder$'
        close_program
        check "no cache made anywhere" no_files "$local_app_data/Tessary"
    else
        echo "SKIPPED: %LOCALAPPDATA% cannot be made read-only here"
    fi
else
    echo "SKIPPED: a folder cannot be made read-only here"
fi

echo "== the installer"
new_prefix
installed="$local_app_data/Programs/Tessary"
start_menu=$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")
start_menu="${start_menu%/}/Microsoft/Windows/Start Menu/Programs"
wine "$setup_file" /S
check "installed per user" test -f "$installed/Tessary.exe"
check "Start-menu entry" test -f "$start_menu/Tessary.lnk"
start_program "$installed/Tessary.exe"
probe_window >/dev/null || fail "installed program did not start"
check "cache beside the installed program" wait_for has_files "$installed/Cache/Pictures~*/*.jpg"
refused() { ! wine "$@"; }
check "installer refuses while the program runs" refused "$setup_file" /S
# In place (_?=), so that its exit code is the uninstaller's own.
check "uninstaller refuses while the program runs" refused "$installed/Uninstall.exe" /S "_?=$(winepath -w "$installed")"
check "program untouched meanwhile" panel_shows '^panel3 Cache:'
close_program
check "settings written on close" has_setting Width
check "second run upgrades in place" wine "$setup_file" /S
check "only one copy installed" test "$(find "$WINEPREFIX/drive_c" -name Tessary.exe | wc -l)" -eq 1
check "settings kept by the upgrade" has_setting Width
wine "$installed/Uninstall.exe" /S
wait_for test ! -e "$installed/Tessary.exe" || true
check "uninstall removes the program" test ! -e "$installed/Tessary.exe"
check "uninstall removes the Start-menu entry" test ! -e "$start_menu/Tessary.lnk"
check "uninstall keeps the cache unless asked" has_files "$installed/Cache/Pictures~*/*.jpg"

exit $status
