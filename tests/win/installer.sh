#!/bin/sh
# The x86_64 installer under Wine: a silent install puts the files into
# Program Files, the Start-menu folder, the uninstall entry and the .vpp
# association in place; the installed tool runs; a silent uninstall removes
# all of it again. Runs in a prefix of its own (BUILD_DIR/installer-prefix),
# so the window tests sharing the tree's prefix never see the association
# come and go.
#   installer.sh BUILD_DIR INSTALLER.exe   (exits 77, "skipped", without it)
set -eu
build=$(cd "$1" && pwd)
installer=$2
here=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$build/installer-prefix
c=$prefix/drive_c
app="$c/Program Files/Packwright32"
menu="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Packwright32"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Packwright32'

fail() { echo "FAILED: $*"; exit 1; }
# A tree built target by target may not have packed it (make build does).
if [ ! -f "$installer" ]; then
  echo "no installer at $installer: build the target 'installer'"
  exit 77
fi

installed() { [ -e "$app" ] || [ -e "$menu" ] || reg query 'HKCR\.vpp' || reg query 'HKCR\Packwright32.Document' ||
  reg query "$uninstall_key"; }
reg() { wine reg "$@" >/dev/null 2>&1; }

# A run stopped half-way leaves its install behind: start from a new prefix.
export WINEPREFIX="$prefix" WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
"$here/scripts/wine-prefix.sh" "$prefix"
if installed; then
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
  "$here/scripts/wine-prefix.sh" "$prefix"
fi
trap 'wineserver -k 2>/dev/null || true' EXIT
installed && fail "a new prefix already holds Packwright32"

winpath() { printf 'Z:%s\n' "$1" | tr / '\\'; }
wine "$(winpath "$(realpath "$installer")")" /S || fail "the silent install failed ($?)"
wineserver -w

for f in Packwright32.exe packwright.exe hm_tools.dll hm_modul.dat USER-GUIDE.txt LICENSE.txt Uninstall.exe; do
  [ -f "$app/$f" ] || fail "$f is not installed"
done
for f in Packwright32.lnk "User guide.lnk" "Uninstall Packwright32.lnk"; do
  [ -f "$menu/$f" ] || fail "no Start-menu shortcut $f"
done
value() { wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'; }
[ "$(value 'HKCR\.vpp')" = Packwright32.Document ] || fail ".vpp is not associated: '$(value 'HKCR\.vpp')'"
open=$(value 'HKCR\Packwright32.Document\shell\open\command')
[ "$open" = '"C:\Program Files\Packwright32\Packwright32.exe" "%1"' ] || fail "open command: $open"
reg query "$uninstall_key" /v UninstallString || fail "no entry under Programs and Features"
# The installed tool is whole: it runs and names this release.
version=$(sed -n 's/^#define PACKWRIGHT_VERSION_DOTTED "\(.*\)"$/\1/p' "$here/res/version.h")
[ "$(wine 'C:\Program Files\Packwright32\packwright.exe' --version 2>&1 | tr -d '\r')" = "packwright $version" ] ||
  fail "installed packwright.exe --version: $(wine 'C:\Program Files\Packwright32\packwright.exe' --version 2>&1)"

# The program's own start adds DDE keys below the file type and its module
# record; the uninstall must take those too.
reg add 'HKCR\Packwright32.Document\shell\open\ddeexec' /ve /d '[open("%1")]' /f || fail "cannot add a DDE key"
module_key='HKLM\Software\Halvard Network\Halvard Manager Tools\Halvard Manager PACKWRIGHT32'
reg add "$module_key" /v EXE /d 'C:\Program Files\Packwright32\Packwright32.exe' /f || fail "cannot add the module record"

# The uninstaller copies itself away and runs from there: wait for the server.
wine 'C:\Program Files\Packwright32\Uninstall.exe' /S || fail "the silent uninstall failed ($?)"
wineserver -w
[ ! -e "$app" ] || fail "left in Program Files: $(ls -A "$app")"
[ ! -e "$menu" ] || fail "left in the Start menu: $(ls -A "$menu")"
reg query 'HKCR\.vpp' && fail ".vpp still associated"
reg query 'HKCR\Packwright32.Document' && fail "the file type is still registered"
reg query "$uninstall_key" && fail "still listed under Programs and Features"
reg query "$module_key" && fail "the module record names the removed program"
echo "installed, associated and removed again"
