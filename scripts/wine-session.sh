#!/usr/bin/env bash
# Runs a command inside a Wine session for one prefix:
#   wine-session.sh PREFIX COMMAND [ARGS...]
# The session is an Xvfb display, one persistent wineserver (without it every
# Wine program pays about 3 s to start its own) and a warm-up boot. The server
# is stopped before the display goes away. Exits with COMMAND's status.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=$(realpath -m "$1")
shift

if [ -z "${PACKWRIGHT_WINE_SESSION:-}" ]; then
  "$here/wine-prefix.sh" "$prefix" || exit 1
  export PACKWRIGHT_WINE_SESSION=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$prefix" "$@"
fi

export WINEPREFIX="$prefix" WINEDEBUG="${WINEDEBUG:--all}" LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="

# A server left over from a run without this display would own the desktop.
wineserver -k >/dev/null 2>&1
timeout 30 wineserver -w >/dev/null 2>&1

wineserver -p
# Bounded: a warm-up that hangs must not hold the whole run.
timeout -k 5 120 wine wineboot >/dev/null 2>&1

"$@"
status=$?

wineserver -k >/dev/null 2>&1
timeout 30 wineserver -w >/dev/null 2>&1
exit "$status"
