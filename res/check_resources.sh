#!/bin/sh
# Compiles the resources for both targets (no warnings allowed), checks the
# result, and checks that the committed artwork is what make_art.py draws.
#   res/check_resources.sh [PREVIEW_DIR]
# With PREVIEW_DIR, also writes enlarged PNG copies of every image there.
set -eu
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for arch in x86_64 i686; do
    "$arch-w64-mingw32-windres" -I. res/Packwright32.rc -O coff -o "$tmp/$arch.o" 2>"$tmp/err"
    if [ -s "$tmp/err" ]; then
        cat "$tmp/err" >&2
        echo "windres ($arch) printed warnings" >&2
        exit 1
    fi
done
x86_64-w64-mingw32-windres -I. res/Packwright32.rc -O res -o "$tmp/pw.res"
python3 res/check_resources.py "$tmp/pw.res"

mkdir "$tmp/art"
python3 res/art/make_art.py "$tmp/art"
for f in toolbar.bmp toolbar16.bmp toolbar150.bmp toolbar200.bmp menu150.bmp menu200.bmp splash.bmp \
         splashver.bmp Packwright32.ico; do
    if ! cmp -s "$tmp/art/$f" "res/$f"; then
        echo "res/$f differs from what res/art/make_art.py draws: run it and commit" >&2
        exit 1
    fi
done

if [ $# -ge 1 ]; then
    mkdir -p "$1"
    convert res/toolbar.bmp -scale 800% "$1/toolbar.png"
    convert res/toolbar16.bmp -scale 800% "$1/toolbar16.png"
    for f in toolbar150 toolbar200 menu150 menu200; do convert "res/$f.bmp" -scale 400% "$1/$f.png"; done
    convert res/splashver.bmp -scale 400% "$1/splashver.png"
    convert res/splash.bmp res/splashver.bmp -geometry +279+41 -composite -scale 200% "$1/splash.png"
    convert 'res/Packwright32.ico[0]' -background '#c0c0c0' -flatten -scale 800% "$1/icon32.png"
    convert 'res/Packwright32.ico[1]' -background '#c0c0c0' -flatten -scale 800% "$1/icon16.png"
    echo "previews in $1"
fi
echo "resources OK"
