#!/usr/bin/env bash
# Photographs the open menus of Packwright32 under Wine on a virtual screen:
#   docs/menu-file.png            File, with the greyed recent-file placeholder
#   docs/menu-edit.png            Edit on an archive with nothing selected
#   docs/menu-edit-selection.png  Edit with every entry selected
#   docs/context-menu.png         the list's context menu on the second row
# Uses a Wine prefix of its own (build/win64/shots-prefix) whose recent-file
# list is cleared first, so the pictures come out the same every time.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
prefix=$root/build/win64/shots-prefix

if [ -z "${PACKWRIGHT_WINE_SESSION:-}" ]; then
  scripts/setup.sh
  scripts/build.sh native -- packwright >/dev/null
  scripts/build.sh win64 -- Packwright32 >/dev/null
  demo=build/demo-menus
  rm -rf "$demo"
  mkdir -p "$demo/files"
  printf 'Packwright demo archive\n' >"$demo/files/readme.txt"
  printf 'level=1\nmusic=theme01\n' >"$demo/files/level01.cfg"
  head -c 70000 /dev/zero >"$demo/files/texture.bin"
  build/native/packwright create "$demo/sample.vpp" "$demo"/files/* >/dev/null
  exec scripts/wine-session.sh "$prefix" "$0" "$@"
fi

exe=$root/build/win64/Packwright32.exe
archive=$(winepath -w "$root/build/demo-menus/sample.vpp" 2>/dev/null)
mkdir -p docs

# The main window is centred on the 1024x768 desktop at 780x500.
crop=780x500+122+134

# Starts the program, waits out the splash, sends keys to it, photographs
# the screen into $1 and ends the program.
shoot() {
  local out=$1 keys=$2
  shift 2
  wine reg delete 'HKCU\Software\Halvard Network' /f >/dev/null 2>&1 || true
  wine "$exe" "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep 6
  local desktop
  desktop=$(xdotool search --name 'Wine desktop' | head -n 1)
  xdotool windowfocus --sync "$desktop" 2>/dev/null || true
  for key in $keys; do
    xdotool key --window "$desktop" "$key"
    sleep 0.5
  done
  sleep 1
  import -window root -crop "$crop" +repage "$out"
  xdotool key --window "$desktop" Escape Escape
  wineserver -k >/dev/null 2>&1 || true
  wait "$pid" 2>/dev/null || true
  wineserver -p
  echo "wrote $out"
}

shoot docs/menu-file.png "alt+f"
shoot docs/menu-edit.png "alt+e" "$archive"
shoot docs/menu-edit-selection.png "ctrl+a alt+e" "$archive"
shoot docs/context-menu.png "Down Down shift+F10" "$archive"
