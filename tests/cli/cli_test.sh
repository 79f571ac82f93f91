#!/usr/bin/env bash
# End-to-end checks of palvex-cli: its exit codes, JSON, questions and batch output.
#   cli_test.sh <palvex-cli>
set -uo pipefail
cli=$1
# The editor's messages in Japanese, as the checks below quote them, named the way a Japanese
# desktop names its language (the machine's own locale is not Japanese).
export LANGUAGE=ja_JP LC_ALL= LC_MESSAGES= LANG=C.UTF-8
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
# One flat colour, which JPEG keeps closely at any quality.
/usr/bin/convert -size 16x16 'xc:rgb(200,100,50)' "$work/flat.png"
check "JPEG with --yes" 0 "$cli" save --yes --quality 50 --format 9 -o "$work/j.jpeg" "$work/flat.png"
# The file is a 16 x 16 JPEG of the picture, written at the quality asked for.
jpeg_facts=$(/usr/bin/convert "$work/j.jpeg" -format '%m %w %h %Q' info: 2>&1)
[[ $jpeg_facts == "JPEG 16 16 50" ]] || { echo "FAIL: JPEG format, size or quality: $jpeg_facts"; fail=1; }
/usr/bin/convert "$work/j.jpeg" -depth 8 rgb:- | od -An -v -tu1 | tr -s ' ' '\n' | grep . |
    awk 'BEGIN { split("200 100 50", want) }
         { d = $1 - want[n % 3 + 1]; n++; if (d < -8 || d > 8) bad++ }
         END { exit !(n == 768 && bad == 0) }' ||
    { echo "FAIL: the JPEG does not show the picture"; fail=1; }

check "existing file asks first" 3 "$cli" save --format png -o "$work/t.png" "$work/a.png"
contains "overwrite question" "$work/err" "指定したファイルは既に存在します"

mkdir "$work/batch"
cp "$work/a.png" "$work/b.png"
check "several files go to a folder" 0 "$cli" save --format bmp8rle -o "$work/batch" "$work/a.png" "$work/b.png"
[[ -f $work/batch/a.bmp && -f $work/batch/b.bmp ]] || { echo "FAIL: batch outputs missing"; fail=1; }
check "batch BMP format" 0 "$cli" info "$work/batch/b.bmp"
contains "RLE8 facts" "$work/out" '"bitCount": 8, "compression": 1'

# Editing operations, applied in the order given. Row 0 is white, red, red, red; row 1 white,
# blue, blue, blue; white is the key.
check "fill with the key" 0 "$cli" save --fill 1,0 --format png -o "$work/f1.png" "$work/a.png"
/usr/bin/convert "$work/f1.png" txt:- >"$work/f1.txt"
contains "filled red became the key" "$work/f1.txt" "1,0: (255,255,255)"
contains "fill leaves the unconnected blue" "$work/f1.txt" "1,1: (0,0,255)"
check "fill with a drawing colour, then one that merges" 0 "$cli" save --fill 1,0 \
    --draw-color 00FF00 --fill 0,1 --format png -o "$work/f2.png" "$work/a.png"
/usr/bin/convert "$work/f2.png" txt:- >"$work/f2.txt"
contains "second fill reached the first fill's pixels" "$work/f2.txt" "3,0: (0,255,0)"
contains "the blue stays" "$work/f2.txt" "3,1: (0,0,255)"
check "a point off the image is a usage error" 2 "$cli" save --fill 4,0 --format png \
    -o "$work/f3.png" "$work/a.png"
contains "off-image message" "$work/err" "--fill 4,0 lies outside the 4 x 2 image"
[[ -e $work/f3.png ]] && { echo "FAIL: an image with a failed operation was written"; fail=1; }
check "a malformed point is a usage error" 2 "$cli" save --fill 1 --format png -o "$work/f4.png" "$work/a.png"
check "operations belong to save" 2 "$cli" info --fill 1,1 "$work/a.png"

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
# The backup is the old file byte for byte; the rewritten file (our own encoder's, so other bytes)
# holds exactly the same pixels.
cmp -s "$work/over(back).png" "$work/a.png" || { echo "FAIL: the backup is not the old file"; fail=1; }
cmp -s "$work/over.png" "$work/a.png" && { echo "FAIL: the file was not rewritten"; fail=1; }
cmp -s <(/usr/bin/convert "$work/over.png" -depth 8 rgb:-) <(/usr/bin/convert "$work/a.png" -depth 8 rgb:-) ||
    { echo "FAIL: the rewritten file lost pixels"; fail=1; }

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
check "pen point outside the image is a usage error" 2 "$cli" save --pen-all 4,0 --format png -o "$work/x.png" "$work/pen.png"
contains "outside message" "$work/err" "outside the 4 x 2 image"
[[ -e $work/x.png ]] && { echo "FAIL: a failed edit was saved"; fail=1; }

# Barriers: a square on a white picture; the outside or the inside becomes the key (lime here).
/usr/bin/convert -size 100x80 xc:white "$work/white.png"
/usr/bin/convert -size 50x40 xc:white "$work/small.png"
printf '20,20\r\n80,20\r\n80,60\r\n20,60\r\n' >"$work/square.bar"
hex_at() {  # hex_at <description> <file> <x> <y> <RRGGBB>
    local got
    got=$(/usr/bin/convert "$2" -format "%[hex:p{$3,$4}]" info:)
    [[ $got == "$5" ]] || { echo "FAIL: $1: pixel $3,$4 is $got, expected $5"; fail=1; }
}
check "barrier outside" 0 "$cli" save --key 00FF00 --barrier "$work/square.bar" --outside --format png -o "$work/outside.png" "$work/white.png"
hex_at "outside cleared" "$work/outside.png" 5 5 00FF00
hex_at "outline cleared" "$work/outside.png" 20 20 00FF00
hex_at "inside kept" "$work/outside.png" 50 40 FFFFFF
check "barrier inside" 0 "$cli" save --key 00FF00 --barrier "$work/square.bar" --inside --format png -o "$work/inside.png" "$work/white.png"
hex_at "inside cleared" "$work/inside.png" 50 40 00FF00
hex_at "outside kept" "$work/inside.png" 5 5 FFFFFF
# One barrier for a batch: clamped to each picture, as the editor reads it onto a smaller one.
mkdir "$work/cleared"
check "barrier on a batch, both sides" 0 "$cli" save --key 00FF00 --barrier "$work/square.bar" --inside --outside --format png -o "$work/cleared" "$work/white.png" "$work/small.png"
hex_at "both sides cleared" "$work/cleared/white.png" 50 40 00FF00
hex_at "both sides cleared" "$work/cleared/white.png" 99 0 00FF00
hex_at "clamped barrier, inside" "$work/cleared/small.png" 30 30 00FF00
# In order with the pens: after the pen has keyed the white, the outside has nothing left to do;
# after the outside, the pen's reference colour is the key and the white inside stays.
check "pen, then barrier" 0 "$cli" save --key 00FF00 --pen-all 5,5 --barrier "$work/square.bar" --outside --format png -o "$work/pen_bar.png" "$work/white.png"
hex_at "pen first keys the inside" "$work/pen_bar.png" 50 40 00FF00
check "barrier, then pen" 0 "$cli" save --key 00FF00 --barrier "$work/square.bar" --outside --pen-all 5,5 --format png -o "$work/bar_pen.png" "$work/white.png"
hex_at "barrier first keeps the inside" "$work/bar_pen.png" 50 40 FFFFFF
# A thin triangle whose side middles give no seed still has its inside cleared; a barrier with
# no inside fails with a message and writes nothing; the outside of one warns and keys all.
/usr/bin/convert -size 200x150 xc:white "$work/wide.png"
printf '141,55\r\n129,60\r\n97,93\r\n' >"$work/thin.bar"
check "inside of a thin triangle" 0 "$cli" save --key 00FF00 --barrier "$work/thin.bar" --inside --format png -o "$work/thin.png" "$work/wide.png"
hex_at "thin inside cleared" "$work/thin.png" 124 66 00FF00
hex_at "beside the thin triangle kept" "$work/thin.png" 100 60 FFFFFF
printf '10,10\r\n90,70\r\n' >"$work/line.bar"
check "a barrier without an inside fails" 1 "$cli" save --key 00FF00 --barrier "$work/line.bar" --inside --format png -o "$work/line_in.png" "$work/white.png"
contains "no inside message" "$work/err" "バリアの内側に透過色にできる部分がありません"
[[ -e $work/line_in.png ]] && { echo "FAIL: an image was saved although the barrier has no inside"; fail=1; }
check "outside of a line" 0 "$cli" save --key 00FF00 --barrier "$work/line.bar" --outside --format png -o "$work/line_out.png" "$work/white.png"
contains "a line warns by name" "$work/err" "line.bar: the barrier encloses nothing"
hex_at "outside of a line keys all" "$work/line_out.png" 50 40 00FF00
cp "$work/a.png" "$work/picture.bar"
check "a picture is no barrier file" 1 "$cli" save --barrier "$work/picture.bar" --outside --format png -o "$work/refused.png" "$work/white.png"
contains "refusal message" "$work/err" "このファイルはバリアファイルとして読み込めません"
[[ -e $work/refused.png ]] && { echo "FAIL: an image was saved with a refused barrier"; fail=1; }
check "a missing barrier file fails" 1 "$cli" save --barrier "$work/none.bar" --inside --format png -o "$work/none.png" "$work/white.png"
contains "missing barrier message" "$work/err" "cannot read the barrier file"
check "--outside needs a barrier" 2 "$cli" save --outside --format png -o "$work/x.png" "$work/white.png"
check "--barrier needs a side" 2 "$cli" save --barrier "$work/square.bar" --format png -o "$work/x.png" "$work/white.png"

# Transforms on a 3 x 2 picture: red green blue over white black yellow; lime is the key.
printf 'P3\n3 2\n255\n255 0 0 0 255 0 0 0 255\n255 255 255 0 0 0 255 255 0\n' >"$work/tf.ppm"
/usr/bin/convert "$work/tf.ppm" "$work/tf.png"
size_is() {  # size_is <description> <file> <W> <H>
    local got
    got=$(/usr/bin/convert "$2" -format '%w %h' info:)
    [[ $got == "$3 $4" ]] || { echo "FAIL: $1: size $got, expected $3 $4"; fail=1; }
}
transform() {  # transform <name> <options...>: tf.png edited into <name>.png
    local name=$1
    shift
    check "transform $name" 0 "$cli" save --key 00FF00 "$@" --format png -o "$work/$name.png" "$work/tf.png"
}
transform flip_h --flip-h
hex_at "mirrored left to right" "$work/flip_h.png" 0 0 0000FF
transform flip_v --flip-v
hex_at "mirrored top to bottom" "$work/flip_v.png" 0 0 FFFFFF
transform right --rotate 90
size_is "turned right" "$work/right.png" 2 3
hex_at "turned right: the old corner" "$work/right.png" 1 0 FF0000
transform left --rotate 270
hex_at "turned left: the old corner" "$work/left.png" 0 2 FF0000
transform half_turn --rotate 180
hex_at "turned round" "$work/half_turn.png" 0 0 FFFF00
transform angle --rotate 45
size_is "turned by 45 degrees" "$work/angle.png" 3 3
hex_at "the corner outside the turned picture is the key" "$work/angle.png" 0 2 00FF00
hex_at "the turned picture" "$work/angle.png" 2 2 0000FF
transform double --resize 200%
size_is "200 %" "$work/double.png" 6 4
hex_at "200 % repeats pixels" "$work/double.png" 5 3 FFFF00
transform tiny --resize 50%
size_is "50 % of a 2-pixel side stays a pixel" "$work/tiny.png" 1 1
transform sized --resize 5,1
size_is "resize to pixels" "$work/sized.png" 5 1
transform inverted --invert
hex_at "inverted" "$work/inverted.png" 0 0 00FFFF
transform grey --grey
hex_at "grey at the green level" "$work/grey.png" 1 0 FFFFFF
hex_at "red has no green" "$work/grey.png" 0 0 000000
transform trimmed --trim 1,0,2,2
size_is "trimmed" "$work/trimmed.png" 2 2
hex_at "trimmed corner" "$work/trimmed.png" 0 0 00FF00
transform flip_then_trim --flip-h --trim 0,0,1,1
transform trim_then_flip --trim 0,0,1,1 --flip-h
hex_at "flip, then trim" "$work/flip_then_trim.png" 0 0 0000FF
hex_at "trim, then flip" "$work/trim_then_flip.png" 0 0 FF0000
check "trim outside the image" 1 "$cli" save --trim 2,0,2,2 --format png -o "$work/x.png" "$work/tf.png"
contains "trim message" "$work/err" "not inside the 3 x 2 image"
[[ -e $work/x.png ]] && { echo "FAIL: a failed trim was saved"; fail=1; }
check "rotate 360 is refused" 2 "$cli" save --rotate 360 --format png -o "$work/x.png" "$work/tf.png"
check "resize to 0 is refused" 2 "$cli" save --resize 0,5 --format png -o "$work/x.png" "$work/tf.png"
check "resize over 200 % is refused" 2 "$cli" save --resize 201% --format png -o "$work/x.png" "$work/tf.png"
check "trim without a size" 2 "$cli" save --trim 0,0,2 --format png -o "$work/x.png" "$work/tf.png"

# The language: --lang before or after the subcommand, else the environment.
printf '\x89PNG\r\n\x1a\nbroken' >"$work/broken.png"
check "broken PNG fails in Japanese" 1 "$cli" info "$work/broken.png"
contains "Japanese message" "$work/err" "イメージのセットに失敗しました"
check "broken PNG fails in English" 1 "$cli" --lang en info "$work/broken.png"
contains "English message" "$work/err" "The file could not be read as an image."
check "--lang after the subcommand" 1 "$cli" info "$work/none.png" --lang=en
contains "English missing file" "$work/err" "The file cannot be found."
check "English question, stopped at it" 3 "$cli" save --lang en --format jpeg -o "$work/j2.jpeg" "$work/a.png"
contains "English JPEG question" "$work/err" "(answer with --yes to go on)"
grep -qP '[\x{3000}-\x{30ff}\x{4e00}-\x{9fff}]' "$work/err" &&
    { echo "FAIL: Japanese left in the English question"; sed 's/^/  | /' "$work/err"; fail=1; }
check "--lang ja wins over the environment" 1 env LANGUAGE=en "$cli" --lang ja info "$work/broken.png"
contains "Japanese by --lang" "$work/err" "イメージのセットに失敗しました"
check "a C locale is English" 1 env -u LANGUAGE LC_ALL=C "$cli" info "$work/broken.png"
contains "English by LC_ALL=C" "$work/err" "The file could not be read as an image."
check "LANG=ja_JP.UTF-8 is Japanese" 1 env -u LANGUAGE LANG=ja_JP.UTF-8 "$cli" info "$work/broken.png"
contains "Japanese by LANG" "$work/err" "イメージのセットに失敗しました"
check "an unknown language is English" 1 env LANGUAGE=de_DE:ja "$cli" info "$work/broken.png"
contains "English for German" "$work/err" "The file could not be read as an image."
check "--lang without a language is a usage error" 2 "$cli" info "$work/a.png" --lang

exit $fail
