#!/usr/bin/env bash
# The real editor in a real X server: start it on an image, take a screenshot, check that the
# key-coloured pixels show the background and the others the image, close it like a session
# ending would, and check that the settings were written.
#   real_window_test.sh <palvex binary>
set -uo pipefail
palvex=$1
if ! command -v xvfb-run >/dev/null || [[ ! -x /usr/bin/convert ]]; then
    echo "SKIP: xvfb-run or ImageMagick missing"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 200 x 100: the left half transparent (its key becomes white), the right half red.
/usr/bin/convert -size 200x100 xc:none -fill '#FF0000' -draw 'rectangle 100,0 199,99' \
    "$work/image.png"

# Count of pixels of one colour in a screenshot.
count() { /usr/bin/convert "$1" -format %c histogram:info:- | grep -i "#$2 " |
          sed 's/^ *\([0-9]*\):.*/\1/' | head -n 1; }

export XDG_CONFIG_HOME=$work/config TMPDIR=$work QT_QPA_PLATFORM=xcb
# No session bus: without one, the D-Bus library tries to start one for the X display and keeps
# a buffer of that attempt to the end, which the leak checker of the sanitizer build reports.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$0" "$1" &
    pid=$!
    for _ in $(seq 40); do
        sleep 0.5
        import -window root "$2" 2>/dev/null || continue
        red=$(/usr/bin/convert "$2" -format %c histogram:info:- | grep -ci "#FF0000 " || true)
        [[ $red -gt 0 ]] && break
    done
    kill -TERM $pid
    wait $pid
' "$palvex" "$work/image.png" "$work/shot.png"
status=$?

fail=0
[[ $status -eq 0 ]] || { echo "FAIL: the editor exited with $status"; fail=1; }
red=$(count "$work/shot.png" FF0000)
yellow=$(count "$work/shot.png" FFFF80)
echo "red pixels: ${red:-0}, background pixels: ${yellow:-0}"
[[ ${red:-0} -ge 10000 ]] || { echo "FAIL: the image's red half is not shown"; fail=1; }
[[ ${yellow:-0} -ge 10000 ]] || { echo "FAIL: the key pixels do not show the background"; fail=1; }
conf=$work/config/Quorvane/Palvex.conf
if [[ -f $conf ]] && grep -q '^Zoom=10$' "$conf" && grep -q 'File1=' "$conf"; then
    :
else
    echo "FAIL: settings not written to $conf"
    fail=1
fi
[[ -n ${PALVEX_SCREENSHOT:-} ]] && cp "$work/shot.png" "$PALVEX_SCREENSHOT"
exit $fail
