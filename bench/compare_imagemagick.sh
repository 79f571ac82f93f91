#!/usr/bin/env bash
# Times palvex-cli against ImageMagick's convert on the same 6000 x 4000 inputs, in one run,
# and prints the ratios (ours / ImageMagick; below 1.0 means faster) and the PNG size ratio.
# ImageMagick is timed with its default threads and again on one thread (palvex-cli uses one).
#   bench/compare_imagemagick.sh [build-dir]      (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cli="$build/src/cli/palvex-cli"
convert=/usr/bin/convert
[[ -x $cli ]] || { echo "build palvex-cli first: cmake --preset release && cmake --build --preset release" >&2; exit 1; }

work=build/bench-compare
mkdir -p "$work/in" "$work/ours" "$work/im"
if [[ ! -f $work/in/photo.jpg ]]; then
    echo "making inputs (once)..."
    # Photo-like content: a plasma field with some noise; the PNG gets a transparent border
    # and soft edge so that the loader's alpha path runs.
    $convert -size 1500x1000 plasma:fractal -resize 6000x4000! -attenuate 0.3 +noise Gaussian \
        "$work/in/photo.jpg"
    $convert "$work/in/photo.jpg" \( -size 6000x4000 xc:black -fill white \
        -draw "ellipse 3000,2000 2800,1800 0,360" -blur 0x8 \) \
        -alpha off -compose CopyOpacity -composite "$work/in/photo.png"
fi

seconds() { date +%s.%N; }
# Best of three wall-clock runs of a command.
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

printf '%-28s %9s %9s %9s %8s %8s\n' case palvex im im-1thr ratio ratio-1t
run_case() {
    local name=$1 format=$2 input=$3 out=$4 imOut=$5
    shift 5
    local ours im im1
    ours=$(best "$cli" save --yes --quality 90 --format "$format" -o "$work/ours/$out" "$input")
    im=$(best $convert "$input" "$@" "$imOut$work/im/$out")
    im1=$(MAGICK_THREAD_LIMIT=1 best $convert "$input" "$@" "$imOut$work/im/$out")
    printf '%-28s %9s %9s %9s %8.2f %8.2f\n' "$name" "$ours" "$im" "$im1" \
        "$(echo "$ours / $im" | bc -l)" "$(echo "$ours / $im1" | bc -l)"
}

run_case "JPEG -> transparent PNG" tpng "$work/in/photo.jpg" a.png "" -transparent white
run_case "PNG -> JPEG quality 90" jpeg "$work/in/photo.png" b.jpeg "" -quality 90
run_case "PNG -> 8-bit RLE BMP" bmp8rle "$work/in/photo.png" c.bmp BMP3: \
    -alpha off +dither -colors 256 -compress RLE -type Palette
run_case "PNG -> GIF" gif "$work/in/photo.png" d.gif "" +dither -colors 256
run_case "PNG -> transparent TIFF" ttiff "$work/in/photo.png" e.tiff ""

ours_png=$(stat -c %s "$work/ours/a.png")
im_png=$(stat -c %s "$work/im/a.png")
printf 'PNG size: palvex %d bytes, ImageMagick %d bytes, ratio %.3f\n' "$ours_png" "$im_png" \
    "$(echo "$ours_png / $im_png" | bc -l)"
