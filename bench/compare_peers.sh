#!/usr/bin/env bash
# Times palvex-cli against the converters installed beside it (ImageMagick's convert,
# GraphicsMagick's gm, libvips' vips) on the same 6000 x 4000 inputs, in one run: three rounds,
# every tool once a round, the median of each. Prints one row a job: the time of each tool
# ("-" where it is missing or cannot do the job), ours over the fastest peer's (at most 0.5 is
# the aim) and the file sizes (ours over the fastest peer's).
#   bench/compare_peers.sh [build-dir]      (default build/release)
# ROUNDS=n for other than three rounds; ONLY=regex for the jobs whose names match.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cli="$build/src/cli/palvex-cli"
convert=/usr/bin/convert
gm=/usr/bin/gm
vips=/usr/bin/vips
[[ -x $cli ]] || { echo "build palvex-cli first: cmake --preset release && cmake --build --preset release" >&2; exit 1; }
[[ -x $convert ]] || { echo "ImageMagick ($convert) makes the inputs: install imagemagick" >&2; exit 1; }

work=build/bench-compare
mkdir -p "$work/in" "$work/out"
if [[ ! -f $work/in/photo.png ]]; then
    echo "making inputs (once)..."
    # Photo-like content: a plasma field with some noise; the PNG gets a transparent border
    # and soft edge so that the loader's alpha path runs.
    $convert -size 1500x1000 plasma:fractal -resize 6000x4000! -attenuate 0.3 +noise Gaussian \
        "$work/in/photo.jpg"
    $convert "$work/in/photo.jpg" \( -size 6000x4000 xc:black -fill white \
        -draw "ellipse 3000,2000 2800,1800 0,360" -blur 0x8 \) \
        -alpha off -compose CopyOpacity -composite "$work/in/photo.png"
fi
jpg=$work/in/photo.jpg
png=$work/in/photo.png
out=$work/out
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# vips has no colour-key transparency: alpha = 255 where any channel differs from white.
vips_transparent_white() {
    $vips relational_const "$1" "$tmp/ne.v" noteq "255 255 255" &&
        $vips bandbool "$tmp/ne.v" "$tmp/alpha.v" or &&
        $vips bandjoin "$1 $tmp/alpha.v" "$2"
}

# Each job: name, the output file's extension, then one command line per tool (palvex, im,
# gm, vips); "-" for a tool that cannot do it. IN and OUT stand for the input and output.
jobs=(
    "JPEG to transparent PNG (white key)|png|$jpg"
    "$cli save --yes --first-trans 1 --format tpng -o OUT IN"
    "$convert IN -transparent white OUT"
    "$gm convert IN -transparent white OUT"
    "vips_transparent_white IN OUT"

    "PNG to JPEG quality 90|jpeg|$png"
    "$cli save --yes --quality 90 --format jpeg -o OUT IN"
    "$convert IN -quality 90 OUT"
    "$gm convert IN -quality 90 OUT"
    "$vips jpegsave IN OUT --Q 90"

    "PNG to 8-bit RLE BMP|bmp|$png"
    "$cli save --yes --format bmp8rle -o OUT IN"
    "$convert IN -alpha off +dither -colors 256 -compress RLE -type Palette BMP3:OUT"
    "$gm convert IN +matte +dither -colors 256 -compress RLE -type Palette BMP3:OUT"
    "-"

    "PNG to GIF|gif|$png"
    "$cli save --yes --format gif -o OUT IN"
    "$convert IN +dither -colors 256 OUT"
    "$gm convert IN +dither -colors 256 OUT"
    "$vips gifsave IN OUT"

    "RGBA PNG to transparent TIFF (deflate)|tiff|$png"
    "$cli save --yes --format ttiff -o OUT IN"
    "$convert IN -compress zip OUT"
    "$gm convert IN -compress zip OUT"
    "$vips tiffsave IN OUT --compression deflate"

    "PNG to 24-bit BMP|bmp|$png"
    "$cli save --yes --format bmp24 -o OUT IN"
    "$convert IN -alpha off BMP3:OUT"
    "$gm convert IN +matte BMP3:OUT"
    "-"

    "JPEG to 24-bit BMP|bmp|$jpg"
    "$cli save --yes --format bmp24 -o OUT IN"
    "$convert IN BMP3:OUT"
    "$gm convert IN BMP3:OUT"
    "-"

    "decode only, PNG (info)|-|$png"
    "$cli info IN"
    "$convert IN null:"
    "$gm convert IN null:"
    "$vips avg IN"

    "decode only, JPEG (info)|-|$jpg"
    "$cli info IN"
    "$convert IN null:"
    "$gm convert IN null:"
    "$vips avg IN"
)
tools=(palvex im gm vips)
installed() {
    case $1 in
        im) [[ -x $convert ]] ;;
        gm) [[ -x $gm ]] ;;
        vips) [[ -x $vips ]] ;;
        *) true ;;
    esac
}

seconds() { date +%s.%N; }
median() { tr ' ' '\n' <<<"$1" | grep . | sort -g | sed -n "$(( ($(wc -w <<<"$1") + 1) / 2 ))p"; }
mb() { [[ -n ${1:-} ]] && printf '%.1f' "$(echo "$1 / 1000000" | bc -l)" || printf -- '-'; }

rounds=${ROUNDS:-3}
only=${ONLY:-.}
echo "load before: $(uptime)"
printf '| Job | ImageMagick | GraphicsMagick | vips | palvex-cli | Ratio | Size palvex (MB) | Size fastest peer (MB) | Size ratio |\n'
printf '|---|---|---|---|---|---|---|---|---|\n'
# Job by job, so that each row prints as soon as it is measured; within a job the tools take
# turns, round after round, so that they share whatever else the machine is doing.
for ((j = 0; j < ${#jobs[@]}; j += 5)); do
    IFS='|' read -r name ext input <<<"${jobs[j]}"
    grep -qE -- "$only" <<<"$name" || continue
    declare -A times=() sizes=()
    for _ in $(seq "$rounds"); do
        for t in 0 1 2 3; do
            tool=${tools[t]}
            command=${jobs[j + 1 + t]}
            [[ $command == - ]] && continue
            installed "$tool" || continue
            target=$out/$((j / 5)).$tool.$ext
            [[ $ext == - ]] && target=/dev/null
            line=${command//IN/$input}
            line=${line//OUT/$target}
            # Every tool starts without the dirty pages of the one before: palvex-cli syncs what it
            # saves (the rename of a finished file), and would otherwise wait for their writes too.
            sync
            start=$(seconds)
            if ! eval "$line" >/dev/null 2>&1; then
                echo "failed: $line" >&2
                continue
            fi
            end=$(seconds)
            times[$tool]+="$(echo "$end - $start" | bc -l) "
            [[ $ext != - ]] && sizes[$tool]=$(stat -c %s "$target")
        done
    done
    row="| $name"
    best="" bestTool=""
    declare -A med=()
    for tool in im gm vips palvex; do
        m=""
        [[ -n ${times[$tool]:-} ]] && m=$(median "${times[$tool]}")
        med[$tool]=$m
        if [[ $tool != palvex && -n $m ]] && { [[ -z $best ]] || (($(echo "$m < $best" | bc -l))); }; then
            best=$m bestTool=$tool
        fi
        [[ -n $m ]] && row+=" | $(printf '%.2f s' "$m")" || row+=" | -"
    done
    ratio=- sizeRatio=-
    if [[ -n $best && -n ${med[palvex]} ]]; then
        ratio=$(printf '%.2f' "$(echo "${med[palvex]} / $best" | bc -l)")
    fi
    ours=${sizes[palvex]:-} theirs=${sizes[$bestTool]:-}
    if [[ -n $ours && -n $theirs ]]; then
        sizeRatio=$(printf '%.2f' "$(echo "$ours / $theirs" | bc -l)")
    fi
    echo "$row | $ratio | $(mb "$ours") | $(mb "$theirs") ($bestTool) | $sizeRatio |"
    unset med times sizes
done
echo "load after: $(uptime)"
