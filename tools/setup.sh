#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, test and run Tessary.
# A fast no-op when everything is already there.
set -euo pipefail

# Packages, not commands: a stand-in of the same name elsewhere on the PATH proves nothing.
# fonts-liberation2: a font with Arial's widths, so captions fit as designed under Wine.
# fonts-wine: Wine's own fonts (Marlett draws the caption buttons). nsis: the installer.
# dpkg-dev unpacks what apt-get source fetches; zip makes the portable package.
# libz-mingw-w64-dev: zlib for the MinGW build, which libspng inflates with.
packages=(
    cmake ninja-build g++ g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth x11-apps x11-utils
    imagemagick python3 python3-pil libvips-tools nasm xdotool googletest dpkg-dev
    fonts-liberation2 fonts-wine nsis zip unzip libz-mingw-w64-dev
)
# One dpkg query for all of them keeps the no-op quick.
installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null |
    awk '$NF == "installed" && $(NF-1) == "ok" {print $1}')
need=()
for p in "${packages[@]}"; do grep -qx "$p" <<<"$installed" || need+=("$p"); done

root=$(cd "$(dirname "$0")/.." && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    $sudo apt-get update -q
    $sudo apt-get install -y -q -o DPkg::Lock::Timeout=900 --no-install-recommends "${need[@]}"
fi

# This Wine looks for its own fonts only through fontconfig, which does not search where
# fonts-wine puts them: without Marlett the caption buttons show as letters.
marlett=/usr/local/share/fonts/wine/marlett.ttf
if [ ! -e "$marlett" ]; then
    $sudo mkdir -p "$(dirname "$marlett")"
    $sudo ln -sf /usr/share/wine/fonts/marlett.ttf "$marlett"
    $sudo fc-cache -f "$(dirname "$marlett")" >/dev/null 2>&1 || true
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
