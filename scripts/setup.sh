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
  locales fonts-ipafont-gothic
)
# locales and the Japanese font: the tests under code page 932 need the
# ja_JP.UTF-8 locale on the Unix side and a font with Japanese glyphs.
# Not wine32 and no i386 architecture: 32-bit programs cannot run on these
# machines, so the Windows tests run the x86_64 build under wine64.

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done
has_locale() { locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; }
[ ${#missing[@]} -eq 0 ] && has_locale && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: need root to install: ${missing[*]:-the ja_JP.UTF-8 locale}" >&2; exit 1; }
  sudo=(sudo)
fi

if [ ${#missing[@]} -gt 0 ]; then
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
fi

if ! has_locale; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'ja_JP.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo[@]}" locale-gen >/dev/null
fi
