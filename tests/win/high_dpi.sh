#!/bin/sh
# The window tests' HighDpi case at 144 and 192 dots per inch (150% and
# 200% text size). Wine reads the scale once per process from the prefix's
# registry, so this runs in a prefix of its own (BUILD_DIR/dpi-prefix): the
# other tests, sharing the tree's prefix at 96, never see it change. The
# virtual desktop grows with the scale, as a screen set to it would be.
#   high_dpi.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$build/dpi-prefix
export WINEPREFIX="$prefix" WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
"$here/scripts/wine-prefix.sh" "$prefix"
trap 'wineserver -k 2>/dev/null || true' EXIT

for dpi in 144 192; do
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$((1024 * dpi / 96))x$((768 * dpi / 96))" \
    /f >/dev/null 2>&1
  wineserver -w
  echo "== $dpi dpi"
  PACKWRIGHT_TEST_DPI=$dpi wine "$build/win_tests.exe" --gtest_filter='HighDpi.*' || exit 1
done
