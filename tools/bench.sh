#!/usr/bin/env bash
# Folder-load benchmark: builds bench_folderload, makes the photo folders once (build/bench-data),
# times Tessary's folder load under Wine cold and warm, times vipsthumbnail --size 200x160 on the
# same folders, and prints both with their ratio. Wine runs on a private headless display in a
# private prefix, both removed afterwards.
#   tools/bench.sh [--runs N] [--build DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=3
build="$root/build/win"
while [ $# -gt 0 ]; do
    case "$1" in
    --runs) runs=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    *) echo "usage: tools/bench.sh [--runs N] [--build DIR]" >&2; exit 2 ;;
    esac
done
build=$(realpath -m "$build")
"$root/tools/setup.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)" --target bench_folderload
data="$root/build/bench-data"
mkdir -p "$data"

source "$root/tools/wine-env.sh"
wine_env_start "$build"
trap wine_env_stop EXIT
data_win=$(winepath -w "$data" 2>/dev/null)
bench="$build/bin/bench_folderload.exe"

echo "== generating the photo folders (once)"
(cd "$build/bin" && wine "$bench" --generate "$data_win")
echo "== Tessary's LoadFolder under Wine"
log=$(mktemp)
(cd "$build/bin" && wine "$bench" --runs "$runs" "$data_win") | tr -d '\r' | tee "$log"

median() { sort -g | awk '{v[NR]=$1} END {if (NR % 2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }

echo "== vipsthumbnail --size 200x160 on the same folders"
declare -A vips
if command -v vipsthumbnail >/dev/null 2>&1; then
    out=$(mktemp -d)
    for dir in "$data"/photos_*; do
        set=$(basename "$dir")
        count=$(ls "$dir"/*.jpg | wc -l)
        times=()
        for run in $(seq "$runs"); do
            rm -f "$out"/*
            start=$(date +%s.%N)
            vipsthumbnail --size 200x160 -o "$out/%s.jpg" "$dir"/*.jpg
            end=$(date +%s.%N)
            ms=$(awk -v a="$start" -v b="$end" -v n="$count" 'BEGIN {print (b - a) * 1000 / n}')
            printf '  %s run %d: %.1f ms/image\n' "$set" "$run" "$ms"
            times+=("$ms")
        done
        vips[$set]=$(printf '%s\n' "${times[@]}" | median)
    done
    rm -rf "$out"
else
    echo "  vipsthumbnail is not installed (tools/setup.sh installs libvips-tools)"
fi

export LC_NUMERIC=C # the figures have decimal points
echo "== summary (medians of $runs runs, ms per image)"
printf '%-18s %10s %10s %10s %8s %10s\n' folder cold warm vips cold/vips "peak MB"
for set in $(awk '/^RESULT/ {print $2}' "$log" | sort -u); do
    cold=$(awk -v s="$set" '$1=="RESULT" && $2==s && $3=="cold" {print $4}' "$log")
    warm=$(awk -v s="$set" '$1=="RESULT" && $2==s && $3=="warm" {print $4}' "$log")
    peak=$(awk -v s="$set" '$1=="RESULT" && $2==s && $3=="peak_mb" {print $4}' "$log")
    v=${vips[$set]:-}
    if [ -n "$v" ]; then
        printf '%-18s %10.1f %10.2f %10.1f %8.2f %10s\n' "$set" "$cold" "$warm" "$v" "$(awk -v c="$cold" -v v="$v" 'BEGIN {print c / v}')" "$peak"
    else
        printf '%-18s %10.1f %10.2f %10s %8s %10s\n' "$set" "$cold" "$warm" - - "$peak"
    fi
done
rm -f "$log"
