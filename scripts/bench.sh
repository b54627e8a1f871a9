#!/usr/bin/env bash
# Builds bench_core natively and for win64, then runs both: natively, and
# under Wine in the win64 tree's prefix.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/build.sh native win64 -- bench_core >/dev/null

echo "== bench_core, native"
(cd build/native && ./bench_core)
echo
echo "== bench_core.exe, win64 under Wine"
cd build/win64
../../scripts/wine-session.sh wineprefix \
  ../../scripts/wine-run.sh wineprefix ./bench_core.exe
