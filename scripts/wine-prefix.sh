#!/usr/bin/env bash
# Creates a Wine prefix for running the win64 tests, once: wine-prefix.sh PREFIX
# Later calls only see the stamp file and return at once.
set -euo pipefail

prefix=$(realpath -m "$1")
# The stamp names the settings version: changed settings make a new prefix.
stamp="$prefix/.packwright-ready-4"
[ -f "$stamp" ] && exit 0

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9            # two tests starting at once must not both build it
[ -f "$stamp" ] && exit 0

export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="    # no Mono or Gecko installer prompts
log="$prefix.log"
rm -rf "$prefix"   # whatever an interrupted attempt left behind

# A virtual desktop, so showing and hiding windows does not wait for a window
# manager, and a small one of 640x480 for win_tests_small.exe, the window
# tests on a screen narrower than the main window; no crash dialog, so a
# crashing test ends instead of hanging; under code page 932 Wine asks for
# the Japanese Windows fonts, which IPA Gothic stands in for (the other code
# pages never ask for them).
settings='Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
"Small"="640x480"

[HKEY_CURRENT_USER\Software\Wine\AppDefaults\win_tests_small.exe\Explorer]
"Desktop"="Small"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS UI Gothic"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
'

if ! {
  wineboot -i &&
  printf '%s' "$settings" >"$prefix/drive_c/packwright-test.reg" &&
  wine reg import 'C:\packwright-test.reg' &&
  # Wine's own fonts, so dialogs get the metrics they are laid out for.
  cp -sf /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" &&
  # They have no Japanese glyphs: IPA Gothic shows the names of the tests
  # under code page 932 instead of boxes.
  cp -sf /usr/share/fonts/opentype/ipafont-gothic/ipag*.ttf "$prefix/drive_c/windows/Fonts/" &&
  # Let the server write the registry out before the prefix counts as ready.
  timeout 60 wineserver -w
} >"$log" 2>&1; then
  cat "$log" >&2
  echo "wine-prefix: could not create $prefix (log: $log)" >&2
  exit 1
fi
touch "$stamp"
