#!/usr/bin/env bash
# The main job: builds Packwright32, makes a sample archive with packwright and
# opens it in the editor under Wine.
#  - With a display ($DISPLAY): the window stays until you quit it.
#  - Without one: a virtual X server is started, the window is photographed
#    into build/screenshot.png and the program is closed again.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
scripts/build.sh native -- packwright >/dev/null
scripts/build.sh win64 -- Packwright32 >/dev/null

# A sample archive from a few generated files.
demo=build/demo
rm -rf "$demo"
mkdir -p "$demo/files"
printf 'Packwright demo archive\n' >"$demo/files/readme.txt"
printf 'level=1\nmusic=theme01\n' >"$demo/files/level01.cfg"
head -c 70000 /dev/urandom >"$demo/files/texture.bin"
head -c 2048 /dev/zero >"$demo/files/empty_block.dat"
: >"$demo/files/zero.txt"
build/native/packwright create "$demo/sample.vpp" "$demo"/files/*
echo "\$ packwright list $demo/sample.vpp"
build/native/packwright list "$demo/sample.vpp"

prefix=$root/build/win64/wineprefix
scripts/wine-prefix.sh "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
exe=$root/build/win64/Packwright32.exe
# A Windows path: a leading slash would read as a command-line switch.
archive=$(winepath -w "$root/$demo/sample.vpp" 2>/dev/null)

if [ -z "${PACKWRIGHT_RUN_HEADLESS:-}" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Starting Packwright32 on $demo/sample.vpp; quit it to return."
  exec wine "$exe" "$archive"
fi

if [ -z "${PACKWRIGHT_RUN_HEADLESS:-}" ]; then
  export PACKWRIGHT_RUN_HEADLESS=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

# Headless: wait for the main window, photograph it, close the program.
shot=$root/build/screenshot.png
wineserver -k >/dev/null 2>&1 || true
wine "$exe" "$archive" >"$root/build/run.log" 2>&1 &
for _ in $(seq 1 150); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Halvard Manager PACKWRIGHT32 - sample.vpp"' && break
  sleep 0.2
done
sleep 1   # let it paint
import -window root "$shot"
wineserver -k >/dev/null 2>&1 || true
wait || true
echo "No display: Packwright32 ran on a virtual screen; its picture is $shot"
