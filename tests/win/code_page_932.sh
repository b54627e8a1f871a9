#!/bin/sh
# The tests of double-byte names under code page 932, the one Japanese
# Windows uses: Wine takes it from LC_ALL=ja_JP.UTF-8. Its own prefix
# (BUILD_DIR/cp932-prefix), since Wine rewrites the prefix's locale settings
# when a program starts under another locale.
#   code_page_932.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$build/cp932-prefix
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
LC_ALL=C.UTF-8 "$here/scripts/wine-prefix.sh" "$prefix"
locale -a | grep -qix 'ja_JP\.utf-\?8' || { echo "no ja_JP.UTF-8 locale (scripts/setup.sh makes it)" >&2; exit 1; }
export LC_ALL=ja_JP.UTF-8
# The tests fail, rather than skip, when the code page is not 932.
export PACKWRIGHT_EXPECT_CP932=1
trap 'wineserver -k 2>/dev/null || true' EXIT
wine "$build/native_tests.exe" --gtest_filter='CodePage*'
wine "$build/win_tests.exe" --gtest_filter='CodePage932.*'
