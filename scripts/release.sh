#!/usr/bin/env bash
# make release: builds the i686 (shipping) and x86_64 programs in release
# mode and packs each into a zip and an NSIS installer in build/release/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
out=build/release
mkdir -p "$out"
for arch in win32 win64; do
  scripts/build.sh "$arch-release" -- Packwright32 packwright packwrightw hm_tools
  scripts/package.sh "$arch" "build/$arch-release" "$out"
done
echo
ls -l "$out"/*.zip "$out"/*-setup.exe
