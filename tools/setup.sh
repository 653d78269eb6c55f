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
    [vipsthumbnail]=libvips-tools [nasm]=nasm [xdotool]=xdotool
)
for c in "${!cmd_pkg[@]}"; do have_cmd "$c" || need+=("${cmd_pkg[$c]}"); done
for p in googletest wine64 python3-pil; do have_pkg "$p" || need+=("$p"); done

if [ ${#need[@]} -eq 0 ]; then
    exit 0
fi

echo "setup: installing ${need[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${need[@]}"
