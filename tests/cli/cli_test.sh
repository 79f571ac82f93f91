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

# With --yes the files of a batch are saved side by side: the same files as one at a time,
# and a broken file in the middle is reported in its place without stopping the others.
mkdir "$work/many" "$work/together" "$work/alone"
for i in 1 2 3 4 5; do
    /usr/bin/convert -size 300x200 plasma:fractal -seed $i "$work/many/p$i.png" 2>/dev/null
done
printf 'not a picture' >"$work/many/p3.png"
check "a batch with a broken file fails" 1 "$cli" save --yes --format tpng -o "$work/together" \
    "$work/many/p1.png" "$work/many/p2.png" "$work/many/p3.png" "$work/many/p4.png" \
    "$work/many/p5.png"
contains "the broken file is named" "$work/err" "p3.png"
[[ $(grep -c "^palvex-cli:" "$work/err") -eq 1 ]] || { echo "FAIL: batch errors: $(cat "$work/err")"; fail=1; }
[[ -e $work/together/p3.png ]] && { echo "FAIL: the broken file left an output"; fail=1; }
for i in 1 2 4 5; do
    check "one file alone" 0 "$cli" save --yes --format tpng -o "$work/alone/p$i.png" "$work/many/p$i.png"
    cmp -s "$work/together/p$i.png" "$work/alone/p$i.png" ||
        { echo "FAIL: p$i.png differs between the batch and alone"; fail=1; }
done
check "info of several files" 1 "$cli" info "$work/many/p1.png" "$work/many/p3.png" \
    "$work/many/p2.png" "$work/many/p4.png"
[[ $(grep -o '"file": "[^"]*"' "$work/out" | sed 's/.*\///' | tr -d '"\n') == p1.pngp2.pngp4.png ]] ||
    { echo "FAIL: info lines out of order"; sed 's/^/  | /' "$work/out"; fail=1; }

cp "$work/a.png" "$work/over.png"
check "overwrite keeps a backup" 0 "$cli" save --overwrite "$work/over.png"
[[ -f "$work/over(back).png" ]] || { echo "FAIL: no backup"; fail=1; }

exit $fail
