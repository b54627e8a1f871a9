#!/usr/bin/env bash
# Runs every test suite: native, sanitized native plus fuzzing, win64
# under Wine, and the win32 binaries' import check. All suites run even
# when one fails; the exit status is 0 only if every test passed.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

log=build/test-summary.log
: >"$log"
failed=()
suite() {
  local name=$1
  shift
  echo "== test $name"
  "$@" 2>&1 | tee -a "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed+=("$name")
}

suite native ctest --preset native
suite sanitize ctest --preset sanitize
suite win64 scripts/wine-session.sh build/win64/wineprefix ctest --preset win64
# Nothing of the 32-bit build runs here: only the check of its binaries' imports.
suite win32 ctest --preset win32

# One closing line over all suites, from CTest's own counts.
read -r total bad < <(awk '/tests passed, .* tests? failed out of/ {
  n += $NF; f += $4 } END { print n + 0, f + 0 }' "$log")
echo
if [ ${#failed[@]} -gt 0 ]; then
  # Only the end of a long run may be read (a CI log is cut from the top):
  # what failed, and why a listing failed, once more here.
  echo "== what failed"
  grep -A30 -e '^The following tests FAILED' -e 'Error running test executable' -e '^wine-run:' "$log" |
    head -n 80
  echo
  echo "failing suites: ${failed[*]}"
  [ "$bad" -gt 0 ] || bad=${#failed[@]}
fi
echo "total: $((total - bad)) passed, $bad failed"
[ ${#failed[@]} -eq 0 ]
