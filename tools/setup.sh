#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, test and run Tessary.
# A fast no-op when everything is already there.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

declare -A cmd_pkg=(
    [cmake]=cmake [ninja]=ninja-build [g++]=g++ [x86_64-w64-mingw32-g++-posix]=g++-mingw-w64-x86-64-posix
    [wine]=wine [Xvfb]=xvfb [xauth]=xauth [xwd]=x11-apps [convert]=imagemagick [python3]=python3
    [vipsthumbnail]=libvips-tools [nasm]=nasm [xdotool]=xdotool [xdpyinfo]=x11-utils
)
for c in "${!cmd_pkg[@]}"; do have_cmd "$c" || need+=("${cmd_pkg[$c]}"); done
have_cmd dpkg-source || need+=(dpkg-dev) # unpacks what apt-get source fetches
# fonts-liberation2: a font with Arial's widths, so captions fit as designed under Wine.
# libz-mingw-w64-dev: zlib for the MinGW build, which libspng inflates with.
for p in googletest wine64 python3-pil fonts-liberation2 libz-mingw-w64-dev; do have_pkg "$p" || need+=("$p"); done

root=$(cd "$(dirname "$0")/.." && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    $sudo apt-get update -q
    $sudo apt-get install -y -q -o DPkg::Lock::Timeout=900 --no-install-recommends "${need[@]}"
fi

# Third-party sources (libjpeg-turbo, libwebp, libspng), from Debian's source packages, unpacked
# where cmake/thirdparty.cmake builds them from. The deb-src list exists only for these downloads.
third_src="$root/build/thirdparty-src"
missing_src=()
compgen -G "$third_src/libjpeg-turbo-*/turbojpeg.h" >/dev/null || missing_src+=(libjpeg-turbo)
compgen -G "$third_src/libwebp-*/src/webp/decode.h" >/dev/null || missing_src+=(libwebp)
compgen -G "$third_src/libspng-*/spng/spng.c" >/dev/null || missing_src+=(libspng)
if [ ${#missing_src[@]} -gt 0 ]; then
    echo "setup: fetching the source packages ${missing_src[*]}"
    src_list=/etc/apt/sources.list.d/tessary-src-$$.sources # own name: other checkouts may run this at once
    drop_src_list() { $sudo rm -f "$src_list"; }
    trap drop_src_list EXIT
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
        'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
        $sudo tee "$src_list" >/dev/null
    $sudo apt-get update -q
    mkdir -p "$third_src"
    as_root=()
    [ "$(id -u)" -ne 0 ] || as_root=(-o APT::Sandbox::User=root) # no _apt user can write there
    for pkg in "${missing_src[@]}"; do
        rm -rf "$third_src/$pkg"-* "$third_src/$pkg"_*
        (cd "$third_src" && apt-get source -q "${as_root[@]}" "$pkg")
    done
    compgen -G "$third_src/libjpeg-turbo-*/turbojpeg.h" >/dev/null ||
        { echo "setup: libjpeg-turbo source missing after download" >&2; exit 1; }
    compgen -G "$third_src/libwebp-*/src/webp/decode.h" >/dev/null ||
        { echo "setup: libwebp source missing after download" >&2; exit 1; }
    compgen -G "$third_src/libspng-*/spng/spng.c" >/dev/null ||
        { echo "setup: libspng source missing after download" >&2; exit 1; }
fi
