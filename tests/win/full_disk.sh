#!/bin/sh
# packwright.exe saving to a full drive under Wine: a small tmpfs mapped as
# drive T:. The message says the disk is full and nothing stays on the drive.
#   full_disk.sh BUILD_DIR     (exits 77, "skipped", where mounting is refused)
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")/../.." && pwd)
mnt=$(mktemp -d)
drive="$build/wineprefix/dosdevices/t:"
if ! mount -t tmpfs -o size=256k tmpfs "$mnt" 2>/dev/null; then
  rmdir "$mnt"
  echo "cannot mount a tmpfs here"
  exit 77
fi
big=$(mktemp "$build/big.XXXXXX")
trap 'umount "$mnt"; rmdir "$mnt"; rm -f "$drive" "$big" "$big.small"' EXIT
"$here/scripts/wine-prefix.sh" "$build/wineprefix"
ln -sfn "$mnt" "$drive"
head -c 1048576 /dev/zero | tr '\0' 'x' >"$big"
echo small >"$big.small"
winbig="Z:$(echo "$big" | tr / '\\')"

fail() { echo "FAILED: $*"; exit 1; }
for command in create add; do
  if [ $command = add ]; then
    "$here/scripts/wine-run.sh" "$build/wineprefix" "$build/packwright.exe" create 'T:\full.vpp' "$winbig.small" \
      >/dev/null 2>&1 || fail "cannot make a small archive on T:"
  fi
  if out=$("$here/scripts/wine-run.sh" "$build/wineprefix" "$build/packwright.exe" $command 'T:\full.vpp' "$winbig" 2>&1); then
    fail "$command on a full disk reported success"
  fi
  printf '%s\n' "$out" | grep -qF 'Disk full while accessing T:\full.vpp.try.' || fail "$command said: $out"
  left=$(ls -A "$mnt")
  if [ $command = create ]; then [ -z "$left" ] || fail "create left: $left"; fi
  if [ $command = add ]; then [ "$left" = full.vpp ] || fail "add left: $left"; fi
done
echo "full disk reported, nothing left behind"
