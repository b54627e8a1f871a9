#!/usr/bin/env bash
# Builds the command-line tool and shows it at work on a small archive made
# from a few generated files in build/demo.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/build.sh native -- packwright >/dev/null

pw=$PWD/build/native/packwright
demo=build/demo
rm -rf "$demo"
mkdir -p "$demo/files" "$demo/out"
cd "$demo"

printf 'Packwright demo archive\n' >files/readme.txt
printf 'level=1\nmusic=theme01\n' >files/level01.cfg
head -c 70000 /dev/urandom >files/texture.bin

show() {
  echo "\$ packwright $*"
  "$pw" "$@"
  echo
}
show create sample.vpp files/readme.txt files/level01.cfg files/texture.bin
show list sample.vpp
show info sample.vpp
show verify sample.vpp
show extract sample.vpp out
echo "\$ ls -l $demo/out"
ls -l out
