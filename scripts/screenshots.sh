#!/usr/bin/env bash
# Pictures of the main window with an archive open, under Wine on a virtual
# screen: screenshots.sh [DPI...]   (default 96)
#   96 (100%) gives docs/main-window.png, the README's picture; every DPI
#   also gives build/screenshots/main-window-DPI.png (120 is 125%, 144 is
#   150%, 192 is 200%), for checking how the window looks at the system's
#   text sizes, on a desktop enlarged by the same scale (1024x768 at 100%,
#   2048x1536 at 200%), as a screen set to that scale would be.
# Uses a prefix of its own in build/screenshots, so nothing the tests keep
# in theirs changes the picture.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
[ $# -gt 0 ] || set -- 96
if [ -z "${PACKWRIGHT_SCREENSHOT_DISPLAY:-}" ]; then
  scripts/build.sh win64 -- Packwright32 packwright hm_tools >/dev/null
  export PACKWRIGHT_SCREENSHOT_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 2048x1536x24" "$0" "$@"
fi

out=build/screenshots
prefix=$root/$out/prefix
mkdir -p "$out"
scripts/wine-prefix.sh "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="

# An archive like a game's: tables, textures, sounds of several sizes.
files=$out/files
rm -rf "$files" "$out/sample.vpp"
mkdir -p "$files"
printf '#Ship table\nspeed=12\n' >"$files/ships.tbl"
printf 'weapon=laser\ndamage=40\n' >"$files/weapons.tbl"
printf 'level=1\nmusic=theme01\n' >"$files/mission01.cfg"
head -c 65536 /dev/urandom >"$files/hud_radar.bmp"
head -c 1228854 /dev/urandom >"$files/title_screen.tga"
head -c 264600 /dev/urandom >"$files/engine_loop.wav"
head -c 9216 /dev/urandom >"$files/cockpit.pcx"
head -c 3072 /dev/urandom >"$files/font01.vf"
winpath() { echo "Z:$(echo "$root/$1" | tr / '\\')"; }
wine build/win64/packwright.exe create "$(winpath "$out/sample.vpp")" "$(winpath "$files")" >/dev/null

for dpi in "$@"; do
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$((1024 * dpi / 96))x$((768 * dpi / 96))" \
    /f >/dev/null 2>&1
  wineserver -w 2>/dev/null || true
  wine build/win64/Packwright32.exe "$(winpath "$out/sample.vpp")" >/dev/null 2>&1 &
  for _ in $(seq 1 150); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Halvard Manager PACKWRIGHT32 - sample.vpp"' && break
    sleep 0.2
  done
  sleep 1   # let it paint
  shot=$out/main-window-$dpi.png
  # The window alone: the desktop around it is one flat colour.
  import -window "$(xdotool search --name 'Wine desktop' | head -n 1)" "$out/desktop-$dpi.png"
  convert "$out/desktop-$dpi.png" -trim +repage "$shot"
  wineserver -k 2>/dev/null || true
  wait || true
  echo "screenshots: $shot"
  if [ "$dpi" = 96 ]; then
    mkdir -p docs
    cp "$shot" docs/main-window.png
    echo "screenshots: docs/main-window.png"
  fi
done
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 || true
wineserver -k 2>/dev/null || true
