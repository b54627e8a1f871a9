#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent and
# silent when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  clang libclang-rt-14-dev
  wine wine64 fonts-wine xvfb xauth x11-utils imagemagick strace xdotool
  nsis zip
)
# Not wine32 and no i386 architecture: 32-bit programs cannot run on these
# machines, so the Windows tests run the x86_64 build under wine64.

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: need root to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi

echo "setup: installing ${missing[*]}"
log=$(mktemp "${TMPDIR:-/tmp}/packwright-setup.XXXXXX")
export DEBIAN_FRONTEND=noninteractive
apt_opts=(-y -qq -o DPkg::Lock::Timeout=600)
if ! { "${sudo[@]}" apt-get update -qq -o DPkg::Lock::Timeout=600 &&
       "${sudo[@]}" apt-get install "${apt_opts[@]}" "${missing[@]}"; } </dev/null >"$log" 2>&1; then
  cat "$log" >&2
  echo "setup: apt-get failed" >&2
  rm -f "$log"
  exit 1
fi
rm -f "$log"
