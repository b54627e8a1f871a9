#!/bin/sh
# The x86_64 installer under Wine: a silent install puts the files into
# Program Files, the Start-menu folder, the uninstall entry and the .vpp
# association in place; the installed tool runs; the association's
# "Extract to NAME\" verb, run as the shell runs it, extracts an archive
# beside itself and asks before it replaces files; a silent uninstall
# removes all of it again. Runs in a prefix of its own (BUILD_DIR/installer-prefix),
# so the window tests sharing the tree's prefix never see the association
# come and go.
#   installer.sh BUILD_DIR INSTALLER.exe VERB_RUN.exe   (exits 77, "skipped", without the installer)
# VERB_RUN.exe (tests/win/verbrun) starts a command line and answers the
# dialogs of the process it started.
set -eu
build=$(cd "$1" && pwd)
installer=$2
verb_run=$3
here=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$build/installer-prefix
c=$prefix/drive_c
app="$c/Program Files/Packwright32"
menu="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Packwright32"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Packwright32'

fail() { printf 'FAILED: %s\n' "$*"; exit 1; }
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

for f in Packwright32.exe packwright.exe packwrightw.exe hm_tools.dll hm_modul.dat USER-GUIDE.txt LICENSE.txt Uninstall.exe; do
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

# Explorer's verb: a static text (the shell puts no file name into it), and
# a command line run here as the shell runs it, with %1 the archive.
verb_key='HKCR\Packwright32.Document\shell\extract'
[ "$(value "$verb_key")" = 'Extract to NAME\' ] || fail "verb text: '$(value "$verb_key")'"
verb=$(value "$verb_key\command")
case $verb in *'"%1"'*) ;; *) fail "the verb's command has no \"%1\": $verb" ;; esac
# run_verb ARCHIVE [ANSWER...]: its output, the dialogs it showed and "exit: N".
run_verb() {
  cmd=$(printf '%s\n' "$verb" | A="$1" awk '{ i = index($0, "%1"); print substr($0, 1, i - 1) ENVIRON["A"] substr($0, i + 2) }')
  shift
  wine "$verb_run" "$cmd" "$@" 2>&1 | tr -d '\r'
}
# Archives and the files they should give, laid out as the writer lays them.
rm -rf "$c/verb"
mkdir -p "$c/verb/expect"
python3 - "$c/verb" <<'PY'
import struct, sys
folder = sys.argv[1]
def pad(data): return data + b"\0" * (-len(data) % 2048)
def archive(files):
    directory = pad(b"".join(n.ljust(60, b"\0") + struct.pack("<I", len(d)) for n, d in files))
    data = b"".join(pad(d) for _, d in files)
    return pad(struct.pack("<IIiI", 0x51890ACE, 1, len(files), 2048 + len(directory) + len(data))) + directory + data
big = bytes((i * 31) % 251 for i in range(5000))
# Of two entries of one name, the later one is extracted.
files = [(b"a.txt", b"first"), (b"b.bin", big), (b"a.txt", b"second\r\n")]
open(folder + "/game.vpp", "wb").write(archive(files))
open(folder + "/expect/a.txt", "wb").write(b"second\r\n")
open(folder + "/expect/b.bin", "wb").write(big)
open(folder + "/bad.vpp", "wb").write(archive([(b"ok.txt", b"fine"), (b"bad:name", b"x")]))
# Long enough to extract under Wine (about 600 new files a second) for the
# progress window to come up.
open(folder + "/many.vpp", "wb").write(archive([(b"f%04d" % i, b"x") for i in range(6000)]))
PY
same() { cmp -s "$c/verb/expect/$1" "$c/verb/game/$1" || fail "$2: game\\$1 is not the entry's data"; }

out=$(run_verb 'C:\verb\game.vpp')
[ "$out" = 'exit: 0' ] || fail "first extraction: $out"
same a.txt "first extraction"
same b.bin "first extraction"
[ "$(ls "$c/verb/game" | wc -l)" = 2 ] || fail "first extraction wrote: $(ls "$c/verb/game")"

# Files of the entries' names are there now: it asks once; No changes nothing.
printf 'mine' >"$c/verb/game/b.bin"
out=$(run_verb 'C:\verb\game.vpp' no)
printf '%s\n' "$out" | grep -qxF 'text: C:\verb\game already holds 2 file(s) named like entries of game.vpp.' &&
  [ "$(printf '%s\n' "$out" | grep -c '^dialog:')" = 1 ] && printf '%s\n' "$out" | grep -qx 'exit: 0' ||
  fail "asked to replace, answered No: $out"
[ "$(cat "$c/verb/game/b.bin")" = mine ] || fail "answered No, but game\\b.bin was replaced"
out=$(run_verb 'C:\verb\game.vpp' yes)
printf '%s\n' "$out" | grep -qx 'exit: 0' || fail "asked to replace, answered Yes: $out"
same b.bin "answered Yes"

# An entry that cannot be a file is listed in the error-details dialog; the
# rest is extracted.
out=$(run_verb 'C:\verb\bad.vpp' close)
for line in 'dialog: Error details' 'text: At least one file was not extracted. See below for details.' \
            'text: bad:name' 'Error while trying to save file (File/Directory access problem?).' 'exit: 1'; do
  printf '%s\n' "$out" | grep -qxF "$line" || fail "no '$line' for a failing entry: $out"
done
[ "$(cat "$c/verb/bad/ok.txt")" = fine ] || fail "the entry beside the failing one was not extracted"

# Only an extraction that lasts shows the progress window: the small ones
# above showed none.
out=$(run_verb 'C:\verb\many.vpp')
printf '%s\n' "$out" | grep -qxF 'busy: Halvard Manager PACKWRIGHT32' &&
  printf '%s\n' "$out" | grep -qxF 'text: Extracting files...' && printf '%s\n' "$out" | grep -qx 'exit: 0' ||
  fail "a long extraction: $out"
[ "$(ls "$c/verb/many" | wc -l)" = 6000 ] || fail "a long extraction wrote $(ls "$c/verb/many" | wc -l) files"

# A missing archive is said in a message box, and makes no folder.
out=$(run_verb 'C:\verb\gone.vpp' ok)
printf '%s\n' "$out" | grep -q '^text: .*C:\\verb\\gone\.vpp' && printf '%s\n' "$out" | grep -qx 'exit: 1' ||
  fail "a missing archive: $out"
[ ! -e "$c/verb/gone" ] || fail "a missing archive made a folder"

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
reg query "$verb_key" && fail "the Extract to verb is still registered"
reg query "$uninstall_key" && fail "still listed under Programs and Features"
reg query "$module_key" && fail "the module record names the removed program"
echo "installed, associated and removed again"
