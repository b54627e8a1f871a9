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
# in the test names. CTest lists each program's tests before any runs, so a
# listing that fails stops the whole suite: one that hangs or ends without a
# list is tried again, and what Wine said of it goes to the log.
for arg in "$@"; do
  if [ "$arg" = --gtest_list_tests ]; then
    err=$(mktemp)
    trap 'rm -f "$err"' EXIT
    for attempt in 1 2 3; do
      list=$(WINEDEBUG=err+all,fixme-all timeout -k 5 40 wine "$@" 2>"$err")
      status=$?
      if [ "$status" -eq 0 ] && [ -n "$list" ]; then
        printf '%s\n' "$list" | tr -d '\r'
        exit 0
      fi
      echo "wine-run: listing the tests of $1 failed (attempt $attempt, status $status)" >&2
      tail -n 40 "$err" >&2
    done
    [ "$status" -ne 0 ] || status=1
    exit "$status"
  fi
done
exec wine "$@"
