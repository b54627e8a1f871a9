#!/usr/bin/env bash
# Packs one Windows build: package.sh ARCH BUILD_DIR OUT_DIR [--installer-only]
#   ARCH win32 (i686) or win64 (x86_64); BUILD_DIR holds Packwright32.exe,
#   packwright.exe, packwrightw.exe, hm_tools.dll and hm_modul.dat.
# Writes OUT_DIR/Packwright32-VERSION-ARCH.zip and
# OUT_DIR/Packwright32-VERSION-ARCH-setup.exe (NSIS); VERSION comes from
# res/version.h. The win64 test tree calls it with --installer-only.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
arch=$1 build=$(realpath "$2") out=$(realpath -m "$3")
installer_only=${4:-}
case $arch in
  win32) triple=i686-w64-mingw32 ;;
  win64) triple=x86_64-w64-mingw32 ;;
  *) echo "package: unknown ARCH $arch (win32 or win64)" >&2; exit 2 ;;
esac

define() { sed -n "s/^#define PACKWRIGHT_VERSION_$1 \"\(.*\)\"$/\1/p" "$root/res/version.h"; }
version=$(define DOTTED) version_name=$(define NAME)
[ -n "$version" ] && [ -n "$version_name" ] || { echo "package: no version in res/version.h" >&2; exit 1; }
base=Packwright32-$version-$arch

# The zip's contents, laid out as they are installed.
stage=$out/$base
rm -rf "$stage"
mkdir -p "$stage"
for f in Packwright32.exe packwright.exe packwrightw.exe hm_tools.dll; do
  "$triple-strip" -o "$stage/$f" "$build/$f"
done
cp "$build/hm_modul.dat" "$stage/"
# Notepad of older Windows shows LF-only text as one line.
sed 's/$/\r/' "$root/docs/USER-GUIDE.txt" >"$stage/USER-GUIDE.txt"
sed 's/$/\r/' "$root/LICENSE" >"$stage/LICENSE.txt"
# The same bytes from the same sources: file times from the last commit.
stamp=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)
touch -d "@$stamp" "$stage"/* "$stage"

if [ "$installer_only" != --installer-only ]; then
  rm -f "$out/$base.zip"
  (cd "$out" && zip -qX -r "$base.zip" "$base")
  echo "package: $out/$base.zip"
fi

nsis_log=$out/$base-makensis.log
if ! makensis -V2 -NOCD -DARCH="$arch" -DSTAGE="$stage" -DOUTFILE="$out/$base-setup.exe" \
     -DVERSION="$version" -DVERSION_NAME="$version_name" -DROOT="$root" \
     "$root/installer/Packwright32.nsi" >"$nsis_log" 2>&1; then
  cat "$nsis_log" >&2
  echo "package: makensis failed" >&2
  exit 1
fi
rm -rf "$nsis_log" "$stage"
echo "package: $out/$base-setup.exe"
