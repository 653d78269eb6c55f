#!/usr/bin/env bash
# Command benchmark: the user's waits on one large picture (preview after a click, opening the
# viewer, Set Wallpaper, Resample Proportional) through Tessary's real window under Wine, next to
# vips doing the same work on the same picture (vipsthumbnail to the preview's or the viewer's
# size, vips copy to an uncompressed bitmap, vips thumbnail to the screen), interleaved round by
# round. Every command but the preview follows the picture's preview, as after a click; the peak
# memory is the process's (which starts with no wallpaper recorded) and the largest sampled while
# the command ran. Pictures: a 5120 x 2880 baseline JPEG, a 5640 x 3172 progressive JPEG and a 5120 x 2880
# PNG, made once in build/bench-data/commands.
#   tools/bench_commands.sh [--rounds N] [--build DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=3
build="$root/build/win"
while [ $# -gt 0 ]; do
    case "$1" in
    --rounds) rounds=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    *) echo "usage: tools/bench_commands.sh [--rounds N] [--build DIR]" >&2; exit 2 ;;
    esac
done
build=$(realpath -m "$build")
"$root/tools/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)" --target bench_commands

source "$root/tools/wine-env.sh"
wine_env_start "$build" 1920x1080x24
trap wine_env_stop EXIT
bench="$build/bin/bench_commands.exe"
export LC_NUMERIC=C
data="$root/build/bench-data/commands"
mkdir -p "$data"
make_picture() { # name width height vips-options
    [ -e "$data/$1" ] && return 0
    (cd "$build/bin" && wine "$bench" --generate "$(winepath -w "$data/paint.bmp" 2>/dev/null)" "$2" "$3")
    vips copy "$data/paint.bmp" "$data/$1$4"
    rm -f "$data/paint.bmp"
}
echo "== the pictures (once)"
make_picture baseline_5120x2880.jpg 5120 2880 "[Q=90]"
make_picture progressive_5640x3172.jpg 5640 3172 "[Q=90,interlace]"
make_picture photo_5120x2880.png 5120 2880 "[compression=6]"

log=$(mktemp)
out=$(mktemp -d)
secs() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); awk -v a="$s" -v b="$e" 'BEGIN {print (b - a) * 1000}'; }
for round in $(seq "$rounds"); do
    echo "== round $round"
    for pic in baseline_5120x2880.jpg progressive_5640x3172.jpg photo_5120x2880.png; do
        for cmd in preview viewer wallpaper resample; do
            (cd "$build/bin" && wine "$bench" "$cmd" "$(winepath -w "$data/$pic" 2>/dev/null)" 1) | tr -d '\r' |
                sed -n "s/^RESULT \\([a-z_]*\\) /RESULT $round $pic $cmd \\1 /p" >>"$log"
            case $cmd in
            preview) ms=$(secs vipsthumbnail --size 800x "$data/$pic" -o "$out/p.jpg") ;;
            viewer) ms=$(secs vipsthumbnail --size 1824x1026 "$data/$pic" -o "$out/v.ppm") ;;
            wallpaper) ms=$(secs vips copy "$data/$pic" "$out/w.ppm") ;;
            resample) ms=$(secs vips thumbnail "$data/$pic" "$out/r.ppm" 1920 --height 1080) ;;
            esac
            echo "RESULT $round $pic $cmd vips $ms" >>"$log"
            grep "^RESULT $round $pic $cmd " "$log" | awk '{printf "  %s %s %s %s\n", $3, $4, $5, $6}'
        done
    done
done
rm -rf "$out"
median() { sort -g | awk '{v[NR]=$1} END {if (NR % 2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
echo "== summary ($rounds rounds; medians; ratio = median of the per-round ratios)"
printf '%-28s %-10s %10s %10s %10s %9s %9s\n' picture command "ms" "vips ms" ratio "peak MB" "cmd MB"
for pic in baseline_5120x2880.jpg progressive_5640x3172.jpg photo_5120x2880.png; do
    for cmd in preview viewer wallpaper resample; do
        t=$(awk -v p="$pic" -v c="$cmd" '$3==p && $4==c && $5=="ms" {print $6}' "$log" | median)
        v=$(awk -v p="$pic" -v c="$cmd" '$3==p && $4==c && $5=="vips" {print $6}' "$log" | median)
        r=$(for round in $(seq "$rounds"); do
            awk -v r="$round" -v p="$pic" -v c="$cmd" '$2==r && $3==p && $4==c && $5=="ms" {t=$6} $2==r && $3==p && $4==c && $5=="vips" {v=$6} END {if (t != "" && v > 0) print t / v}' "$log"
        done | median)
        m=$(awk -v p="$pic" -v c="$cmd" '$3==p && $4==c && $5=="peak_mb" {print $6}' "$log" | sort -g | tail -1)
        o=$(awk -v p="$pic" -v c="$cmd" '$3==p && $4==c && $5=="command_peak_mb" {print $6}' "$log" | sort -g | tail -1)
        printf '%-28s %-10s %10.0f %10.0f %10.2f %9s %9s\n' "$pic" "$cmd" "${t:-0}" "${v:-0}" "${r:-0}" "${m:--}" "${o:--}"
    done
done
rm -f "$log"
