#!/usr/bin/env bash
# Folder-load benchmark: Tessary's folder load under Wine (bench_folderload, cold and warm) against
# vipsthumbnail --size 200x160 on the same folders, interleaved round by round (Tessary, vips,
# Tessary, vips, ...) so that whatever else the machine does lands on both alike; the summary gives
# the median of the per-round ratios. Wine runs on a private headless display in a private prefix,
# both removed afterwards.
#   tools/bench.sh [--rounds N] [--build DIR] [--folder DIR]... [--workers LIST]
# Without --folder it times the generated set in build/bench-data (made once): photo-like JPEGs at
# 4000 x 3000 and 1920 x 1080, progressive JPEGs at 4000 x 3000, and PNGs at 4000 x 3000.
# --workers takes a comma-separated list of decoding-thread counts for Tessary's load (default
# "1,2"); each is timed in every round, each compared with the same round's vipsthumbnail.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=3
build="$root/build/win"
folders=()
workers=1,2
while [ $# -gt 0 ]; do
    case "$1" in
    --rounds | --runs) rounds=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --folder) folders+=("$(realpath "$2")"); shift 2 ;;
    --workers) workers=$2; shift 2 ;;
    *) echo "usage: tools/bench.sh [--rounds N] [--build DIR] [--folder DIR]... [--workers LIST]" >&2; exit 2 ;;
    esac
done
build=$(realpath -m "$build")
"$root/tools/setup.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)" --target bench_folderload

source "$root/tools/wine-env.sh"
wine_env_start "$build"
trap wine_env_stop EXIT
bench="$build/bin/bench_folderload.exe"
export LC_NUMERIC=C # the figures have decimal points

if [ ${#folders[@]} -eq 0 ]; then
    data="$root/build/bench-data"
    mkdir -p "$data"
    echo "== generating the picture folders (once)"
    (cd "$build/bin" && wine "$bench" --generate "$(winepath -w "$data" 2>/dev/null)") | tr -d '\r'
    # Progressive JPEGs and PNGs of the same photos, written by vips.
    for kind in progressive png; do
        dir="$data/${kind}_4000x3000"
        [ "$(ls "$dir" 2>/dev/null | wc -l)" -ge 20 ] && continue
        mkdir -p "$dir"
        for src in $(ls "$data"/photos_4000x3000/*.jpg | head -20); do
            name=$(basename "$src" .jpg)
            if [ "$kind" = progressive ]; then
                vips copy "$src" "$dir/$name.jpg[Q=90,interlace]"
            else
                vips copy "$src" "$dir/$name.png[compression=6]"
            fi
        done
        echo "${kind}_4000x3000: 20 pictures"
    done
    folders=("$data"/photos_4000x3000 "$data"/photos_1920x1080 "$data"/progressive_4000x3000 "$data"/png_4000x3000)
fi

log=$(mktemp)
out=$(mktemp -d)
# One round: every folder once by Tessary for each worker count (cold then warm), then once by
# vipsthumbnail.
for round in $(seq "$rounds"); do
    echo "== round $round"
    for dir in "${folders[@]}"; do
        set=$(basename "$dir")
        for w in ${workers//,/ }; do
            (cd "$build/bin" && wine "$bench" --runs 1 --workers "$w" "$(winepath -w "$dir" 2>/dev/null)") |
                tr -d '\r' |
                sed -n 's/^RESULT \([^ ]*\) /RESULT '"$round"' \1@'"$w"' /p; s/^  \(cold\|warm\) run 1: /  tessary '"$w"'w \1: /p' |
                tee -a "$log" | grep -v '^RESULT' || true
        done
        files=()
        for f in "$dir"/*; do
            case "${f,,}" in *.jpg | *.png | *.gif | *.bmp) files+=("$f") ;; esac
        done
        rm -f "$out"/*
        start=$(date +%s.%N)
        vipsthumbnail --size 200x160 -o "$out/%s.jpg" "${files[@]}"
        end=$(date +%s.%N)
        ms=$(awk -v a="$start" -v b="$end" -v n="${#files[@]}" 'BEGIN {print (b - a) * 1000 / n}')
        printf '  %s vipsthumbnail: %.1f ms/image\n' "$set" "$ms"
        for w in ${workers//,/ }; do echo "RESULT $round $set@$w vips $ms" >>"$log"; done
    done
done
rm -rf "$out"

median() { sort -g | awk '{v[NR]=$1} END {if (NR % 2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
value() { awk -v r="$1" -v s="$2" -v k="$3" '$1=="RESULT" && $2==r && $3==s && $4==k {print $5}' "$log"; }

echo "== summary ($rounds rounds; medians, ms per image; ratio = median of the per-round ratios)"
printf '%-26s %9s %9s %9s %10s %9s %8s\n' "folder@workers" cold warm vips cold/vips "gap ms" "peak MB"
for dir in "${folders[@]}"; do
  for w in ${workers//,/ }; do
    set=$(basename "$dir")@$w
    cold=() warm=() vips=() ratio=() gap=() peak=()
    for round in $(seq "$rounds"); do
        c=$(value "$round" "$set" cold) v=$(value "$round" "$set" vips)
        [ -n "$c" ] && [ -n "$v" ] || continue
        cold+=("$c") vips+=("$v")
        warm+=("$(value "$round" "$set" warm)") gap+=("$(value "$round" "$set" gap_ms)")
        peak+=("$(value "$round" "$set" peak_mb)")
        ratio+=("$(awk -v c="$c" -v v="$v" 'BEGIN {print c / v}')")
    done
    [ ${#cold[@]} -gt 0 ] || { echo "$set: no complete round"; continue; }
    printf '%-26s %9.1f %9.2f %9.1f %10.2f %9.0f %8.0f\n' "$set" \
        "$(printf '%s\n' "${cold[@]}" | median)" "$(printf '%s\n' "${warm[@]}" | median)" \
        "$(printf '%s\n' "${vips[@]}" | median)" "$(printf '%s\n' "${ratio[@]}" | median)" \
        "$(printf '%s\n' "${gap[@]}" | sort -g | tail -1)" "$(printf '%s\n' "${peak[@]}" | sort -g | tail -1)"
  done
done
echo "(gap ms: the longest time the window went without letting messages run, over all cold loads;"
echo " peak MB: the benchmark process's largest working set)"
rm -f "$log"
