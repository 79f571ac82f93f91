#!/usr/bin/env bash
# Times `palvex-cli save --rotate 33` against `vips rotate` (nearest pixel, the same turn) of the
# same 6000 x 4000 PNG, in one run, best of three wall-clock runs each, and compares the output
# sizes in pixels and in bytes. libvips is for measuring only: apt-get install libvips-tools.
#   bench/compare_vips_rotate.sh [build-dir] [input.png]      (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cli="$build/src/cli/palvex-cli"
[[ -x $cli ]] || { echo "build palvex-cli first" >&2; exit 1; }
command -v vips >/dev/null || { echo "needs vips: apt-get install libvips-tools" >&2; exit 1; }

work=build/bench-compare
mkdir -p "$work/in" "$work/ours" "$work/vips"
input=${2:-$work/in/gradient.png}
if [[ ! -f $input ]]; then
    echo "making the input (once)..."
    /usr/bin/convert -size 6000x4000 xc: \
        -sparse-color Bilinear '0,0 red 5999,0 blue 0,3999 yellow 5999,3999 green' \
        -attenuate 0.4 +noise Uniform -depth 8 -type TrueColor "$input"
fi

seconds() { date +%s.%N; }
best() {
    local best=999999 start end t
    for _ in 1 2 3; do
        start=$(seconds)
        "$@" >/dev/null 2>&1
        end=$(seconds)
        t=$(echo "$end - $start" | bc -l)
        best=$(echo "if ($t < $best) $t else $best" | bc -l)
    done
    printf '%.3f' "$best"
}

uptime
ours=$(best "$cli" save --yes --rotate 33 --format png -o "$work/ours/rot33.png" "$input")
# vips turns anticlockwise for positive angles; -33 is the same turn as ours.
vips=$(best vips rotate --interpolate nearest "$input" "$work/vips/rot33.png" -- -33)
vipsOne=$(VIPS_CONCURRENCY=1 best vips rotate --interpolate nearest "$input" \
    "$work/vips/rot33.png" -- -33)
printf '%-22s %9s %9s %9s %8s %8s\n' case palvex vips vips-1thr ratio ratio-1t
printf '%-22s %9s %9s %9s %8.2f %8.2f\n' "rotate 33, PNG" "$ours" "$vips" "$vipsOne" \
    "$(echo "$ours / $vips" | bc -l)" "$(echo "$ours / $vipsOne" | bc -l)"
for f in "$work/ours/rot33.png" "$work/vips/rot33.png"; do
    printf '%-40s %s, %s bytes\n' "$f" "$(/usr/bin/convert "$f" -format '%w x %h' info:)" \
        "$(stat -c %s "$f")"
done
