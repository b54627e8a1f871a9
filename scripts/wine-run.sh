#!/usr/bin/env bash
# CTest's emulator for the win64 build: wine-run.sh PREFIX PROGRAM.exe [ARGS...]
# Runs the program under wine64 in the build tree's own prefix and returns
# its exit status. Test runs go through wine-session.sh, which provides the
# X display and a persistent wineserver; without a display, console programs
# still run.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=$(realpath -m "$1")
shift
"$here/wine-prefix.sh" "$prefix" || exit 1

export WINEPREFIX="$prefix" WINEDEBUG="${WINEDEBUG:--all}" LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="

# GoogleTest's listing comes back with CRLF line ends, which CTest would keep
# in the test names.
for arg in "$@"; do
  if [ "$arg" = --gtest_list_tests ]; then
    wine "$@" | tr -d '\r'
    exit "${PIPESTATUS[0]}"
  fi
done
exec wine "$@"
