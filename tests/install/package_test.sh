#!/usr/bin/env bash
# The Debian package: built from the build tree, its desktop entry and metainfo validated, then
# installed into a scratch root (or, with PALVEX_REAL_INSTALL=1 as root, into the system), where
# palvex-cli reads a generated picture and the editor opens one from the desktop entry's command
# line under Xvfb; a real install is removed again and must leave no file behind.
#   package_test.sh <build dir>
set -euo pipefail
build=$(cd "$1" && pwd)
for tool in cpack dpkg-deb desktop-file-validate appstreamcli xvfb-run; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool missing"
        exit 0
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() { if ! "$@"; then echo "FAIL: $*"; fail=1; fi; }

(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$work"/package/palvex_*.deb)
echo "package: $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
[[ $depends == *libqt6widgets6* && $depends == *libpng16* &&
    $depends == *qt6-translations-l10n* ]] ||
    { echo "FAIL: dependencies not computed"; fail=1; }

root=$work/root
dpkg-deb -x "$deb" "$root"
for file in usr/bin/palvex usr/bin/palvex-cli usr/share/applications/palvex.desktop \
    usr/share/metainfo/com.quorvane.Palvex.metainfo.xml usr/share/man/man1/palvex-cli.1 \
    usr/share/icons/hicolor/16x16/apps/palvex.png usr/share/icons/hicolor/48x48/apps/palvex.png \
    usr/share/icons/hicolor/256x256/apps/palvex.png usr/share/doc/palvex/copyright \
    usr/share/palvex/Manual.pdf usr/share/palvex/Manual_en.pdf; do
    [[ -s $root/$file ]] || { echo "FAIL: $file not in the package"; fail=1; }
done
check desktop-file-validate "$root/usr/share/applications/palvex.desktop"
check appstreamcli validate --no-net --explain "$root/usr/share/metainfo/com.quorvane.Palvex.metainfo.xml"
size=$(/usr/bin/identify -format %wx%h "$root/usr/share/icons/hicolor/48x48/apps/palvex.png")
[[ $size == 48x48 ]] || { echo "FAIL: 48 x 48 icon is $size"; fail=1; }

# A picture: its left half transparent, its right half red.
/usr/bin/convert -size 200x100 xc:none -fill '#FF0000' -draw 'rectangle 100,0 199,99' \
    "$work/image.png"

# Runs the installed programs found under prefix $1.
exercise() {
    local prefix=$1 desktop=$2
    [[ $("$prefix/bin/palvex-cli" --version) == "palvex-cli "[0-9]* ]] ||
        { echo "FAIL: palvex-cli --version"; fail=1; }
    [[ $("$prefix/bin/palvex" --version) == "palvex "[0-9]* ]] ||
        { echo "FAIL: palvex --version"; fail=1; }
    [[ $("$prefix/bin/palvex-cli" info "$work/image.png") == *'"width": 200,'* ]] ||
        { echo "FAIL: palvex-cli info"; fail=1; }
    # The desktop entry's command with the picture for %F, the editor taken from the prefix.
    local exec
    exec=$(sed -n 's/^Exec=//p' "$desktop")
    exec=${exec/\%F/$work/image.png}
    exec=${exec/#palvex /$prefix/bin/palvex }
    export XDG_CONFIG_HOME=$work/config TMPDIR=$work QT_QPA_PLATFORM=xcb
    if ! xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        $0 &
        pid=$!
        for _ in $(seq 40); do
            sleep 0.5
            import -window root "$1" 2>/dev/null || continue
            /usr/bin/convert "$1" -format %c histogram:info:- | grep -qi "#FF0000 " && break
        done
        kill -TERM $pid
        wait $pid
    ' "$exec" "$work/shot.png"; then
        echo "FAIL: the installed editor did not run"
        fail=1
    fi
    # Read whole: grep -q would stop early and the pipe's broken writer fail the pipeline.
    local histogram
    histogram=$(/usr/bin/convert "$work/shot.png" -format %c histogram:info:- 2>/dev/null || true)
    [[ $histogram == *"#FF0000 "* ]] ||
        { echo "FAIL: the installed editor did not show the picture"; fail=1; }
}
exercise "$root/usr" "$root/usr/share/applications/palvex.desktop"

if [[ ${PALVEX_REAL_INSTALL:-0} == 1 && $(id -u) -eq 0 ]]; then
    echo "== installing into the system"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
    dpkg -L palvex >"$work/files"
    exercise /usr /usr/share/applications/palvex.desktop
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq palvex >/dev/null
    left=0
    while read -r path; do
        # Shared folders (/usr/share/icons ...) stay; our own files and folders must go.
        if [[ -f $path || -L $path ]]; then
            echo "left behind: $path"
            left=1
        fi
    done <"$work/files"
    for folder in /usr/share/doc/palvex /usr/share/palvex; do
        [[ -e $folder ]] && { echo "left behind: $folder"; left=1; }
    done
    [[ $left -eq 0 ]] || { echo "FAIL: files left after removal"; fail=1; }
fi
[[ $fail -eq 0 ]] && echo "package checks passed"
exit $fail
