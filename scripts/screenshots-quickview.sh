#!/usr/bin/env bash
# Photographs the quick view beside the main window under Wine:
#   docs/quick-view-texture.png  over a texture (a TGA)
#   docs/quick-view-table.png    over a table (text)
# On a desktop wide enough for both windows side by side, in a prefix of
# its own (build/win64/quickview-prefix) whose settings are cleared first.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
prefix=$root/build/win64/quickview-prefix
demo=$root/build/demo-quickview

if [ -z "${PACKWRIGHT_SCREENSHOT_DISPLAY:-}" ]; then
  scripts/setup.sh
  scripts/build.sh native -- packwright >/dev/null
  scripts/build.sh win64 -- Packwright32 >/dev/null
  export PACKWRIGHT_SCREENSHOT_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1700x800x24" "$0" "$@"
fi

rm -rf "$demo"
mkdir -p "$demo/files"
# A brick wall of 128x128, as a game's texture would be.
convert -size 128x128 -seed 7 plasma:sienna-peru \( -size 128x128 pattern:bricks -blur 0x0.6 \) \
  -compose multiply -composite -type TrueColor "$demo/files/wall_bricks.tga"
printf '%s\r\n' '#Ship table' '$Name:     GTF Ulysses' '$Speed:    90' '$Hitpoints: 180' \
  '$Weapons:  ( "Subach HL-7" "Subach HL-7" )' '' '$Name:     GTB Medusa' '$Speed:    45' '$Hitpoints: 520' \
  '$Weapons:  ( "Prometheus" "Cyclops" )' '#End' >"$demo/files/ships.tbl"
build/native/packwright create "$demo/sample.vpp" "$demo/files/wall_bricks.tga" "$demo/files/ships.tbl" >/dev/null

scripts/wine-prefix.sh "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
wine reg delete 'HKCU\Software\Halvard Network' /f >/dev/null 2>&1 || true
# The main window (780x500) centred, the quick view (420 wide) right of it.
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1640x700 /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true

wine build/win64/Packwright32.exe "$(winepath -w "$demo/sample.vpp" 2>/dev/null)" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 1 150); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Halvard Manager PACKWRIGHT32 - sample.vpp"' && break
  sleep 0.2
done
sleep 3   # the splash goes, the list takes the keys
desktop=$(xdotool search --name 'Wine desktop' | head -n 1)
xdotool windowfocus --sync "$desktop" 2>/dev/null || true
shoot() {
  for key in $2; do
    xdotool key --window "$desktop" "$key"
    sleep 1
  done
  sleep 1
  import -window "$desktop" "$demo/desktop.png"
  convert "$demo/desktop.png" -trim +repage "$1"
  echo "wrote $1"
}
mkdir -p docs
shoot docs/quick-view-texture.png "Down Down F3 Up"
shoot docs/quick-view-table.png "Down"
wineserver -k >/dev/null 2>&1 || true
wait "$pid" 2>/dev/null || true
