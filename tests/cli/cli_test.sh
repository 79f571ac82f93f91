#!/usr/bin/env bash
# End-to-end checks of palvex-cli: its exit codes, JSON, questions and batch output.
#   cli_test.sh <palvex-cli>
set -uo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() {  # check <description> <expected status> <command...>
    local description=$1 expected=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local status=$?
    if [[ $status -ne $expected ]]; then
        echo "FAIL: $description: exit $status, expected $expected"
        sed 's/^/  | /' "$work/out" "$work/err"
        fail=1
    fi
}
contains() {  # contains <description> <file> <text>
    grep -qF -- "$3" "$2" || { echo "FAIL: $1: '$3' not in $2"; sed 's/^/  | /' "$2"; fail=1; }
}

# A 4 x 2 image: white, red and blue pixels, turned into a PNG by ImageMagick.
printf 'P3\n4 2\n255\n255 255 255 255 0 0 255 0 0 255 0 0\n255 255 255 0 0 255 0 0 255 0 0 255\n' >"$work/in.ppm"
/usr/bin/convert "$work/in.ppm" "$work/a.png" 2>/dev/null || { echo "SKIP: no ImageMagick"; exit 0; }

check "info prints facts" 0 "$cli" info "$work/a.png"
contains "info JSON" "$work/out" '"width": 4, "height": 2'
contains "info key" "$work/out" '"key": "FFFFFF"'
contains "info colours" "$work/out" '"colours": 3'

check "missing file fails" 1 "$cli" info "$work/none.png"
contains "missing file message" "$work/err" "ファイルが見つかりません"
check "unsupported type fails" 1 "$cli" info "$work/in.ppm"
contains "unsupported message" "$work/err" "このファイルタイプはセットできません"
check "no arguments is a usage error" 2 "$cli"
check "unknown format is a usage error" 2 "$cli" save --format webp -o "$work/x" "$work/a.png"

check "transparent PNG with a chosen key" 0 "$cli" save --format tpng --key FF0000 -o "$work/t.png" "$work/a.png"
check "reloaded key" 0 "$cli" info "$work/t.png"
contains "key travels in the file" "$work/out" '"fileColorKey": "FF0000"'

check "JPEG asks first and stops without --yes" 3 "$cli" save --format jpeg -o "$work/j.jpeg" "$work/a.png"
contains "JPEG question" "$work/err" "JPEGで保存すると透過部分が変わることがあります"
[[ -e $work/j.jpeg ]] && { echo "FAIL: a refused JPEG was written"; fail=1; }
check "JPEG with --yes" 0 "$cli" save --yes --quality 50 --format 9 -o "$work/j.jpeg" "$work/a.png"

check "existing file asks first" 3 "$cli" save --format png -o "$work/t.png" "$work/a.png"
contains "overwrite question" "$work/err" "指定したファイルは既に存在します"

mkdir "$work/batch"
cp "$work/a.png" "$work/b.png"
check "several files go to a folder" 0 "$cli" save --format bmp8rle -o "$work/batch" "$work/a.png" "$work/b.png"
[[ -f $work/batch/a.bmp && -f $work/batch/b.bmp ]] || { echo "FAIL: batch outputs missing"; fail=1; }
check "batch BMP format" 0 "$cli" info "$work/batch/b.bmp"
contains "RLE8 facts" "$work/out" '"bitCount": 8, "compression": 1'

cp "$work/a.png" "$work/over.png"
check "overwrite keeps a backup" 0 "$cli" save --overwrite "$work/over.png"
[[ -f "$work/over(back).png" ]] || { echo "FAIL: no backup"; fail=1; }

# The pens: a 4 x 2 image with greys around (100, 100, 100), white (the key) and blue.
printf 'P3\n4 2\n255\n255 255 255 100 100 100 109 91 100 110 100 100\n0 0 255 100 100 100 100 100 100 255 255 255\n' >"$work/pen.ppm"
/usr/bin/convert "$work/pen.ppm" "$work/pen.png"
pixel() {  # pixel <description> <file> <x,y> <#RRGGBB>
    /usr/bin/convert "$2" txt:- | grep -q "^$3: .*$4" ||
        { echo "FAIL: $1: pixel $3 is not $4"; /usr/bin/convert "$2" txt:- | sed 's/^/  | /'; fail=1; }
}
check "whole-image pen" 0 "$cli" save --pen-all 1,0 --format png -o "$work/pen1.png" "$work/pen.png"
pixel "within tolerance 5 becomes the key" "$work/pen1.png" 2,0 "#FFFFFF"
pixel "a channel 10 away stays" "$work/pen1.png" 3,0 "#6E6464"
pixel "blue stays" "$work/pen1.png" 0,1 "#0000FF"
check "pen with tolerance 1 and a drawing colour" 0 \
    "$cli" save --tolerance 1 --draw-color FF0000 --pen-all 1,0 --format png -o "$work/pen2.png" "$work/pen.png"
pixel "the reference colour is drawn" "$work/pen2.png" 2,1 "#FF0000"
pixel "9 away is outside tolerance 1" "$work/pen2.png" 2,0 "#6D5B64"
check "whole-image fill-back" 0 "$cli" save --fill-back-all --format png -o "$work/back.png" "$work/pen.png"
pixel "corner: five white neighbours outside" "$work/back.png" 0,0 "#B8B8D8"
pixel "fill-back sees its own writes" "$work/back.png" 3,1 "#C7C3C4"
check "pen then fill-back" 0 "$cli" save --pen-all 1,0 --fill-back-all --format png -o "$work/o1.png" "$work/pen.png"
check "fill-back then pen" 0 "$cli" save --fill-back-all --pen-all 1,0 --format png -o "$work/o2.png" "$work/pen.png"
cmp -s "$work/o1.png" "$work/o2.png" && { echo "FAIL: the operations were not applied in order"; fail=1; }
check "tolerance out of range" 2 "$cli" save --tolerance 10 --pen-all 1,0 --format png -o "$work/x.png" "$work/pen.png"
check "pen point without a comma" 2 "$cli" save --pen-all 1 --format png -o "$work/x.png" "$work/pen.png"
check "editing belongs to save" 2 "$cli" info --pen-all 1,0 "$work/pen.png"
check "pen point outside the image" 1 "$cli" save --pen-all 4,0 --format png -o "$work/x.png" "$work/pen.png"
contains "outside message" "$work/err" "outside the 4 x 2 image"
[[ -e $work/x.png ]] && { echo "FAIL: a failed edit was saved"; fail=1; }

exit $fail
