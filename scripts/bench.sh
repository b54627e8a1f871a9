#!/usr/bin/env bash
# Builds the benchmarks natively and for win64, then runs packwright against
# the machine's references (bench-ratios.sh), bench_core natively and
# under Wine in the win64 tree's prefix (with 8,192 outside files: creating
# files under Wine slows down as the folder fills), there also with the
# window's cases (create, extract, list) run through packwright.exe on the
# same data, each figure beside the window's; then bench_list, the main window at
# 65,536 entries, and bench_menu, opening the menus' popups, under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/build.sh native -- bench_core packwright >/dev/null
scripts/build.sh win64 -- bench_core packwright bench_list bench_menu >/dev/null

scripts/bench-ratios.sh
echo
echo "== bench_core, native"
(cd build/native && ./bench_core)
echo
echo "== bench_core.exe, win64 under Wine"
cd build/win64
../../scripts/wine-session.sh wineprefix \
  bash -c '../../scripts/wine-run.sh wineprefix ./bench_core.exe 8192 packwright.exe &&
           echo && echo "== bench_list.exe, the main window under Wine" &&
           ../../scripts/wine-run.sh wineprefix ./bench_list.exe &&
           echo && echo "== bench_menu.exe, opening the popups under Wine" &&
           ../../scripts/wine-run.sh wineprefix ./bench_menu.exe'
