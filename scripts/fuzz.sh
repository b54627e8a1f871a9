#!/usr/bin/env bash
# Fuzzes every reader of untrusted bytes for minutes: fuzz.sh [SECONDS EACH]
# (default 300). A crashing input is left in build/sanitize/TARGET-work/artifacts;
# copy it into fuzz/corpus so every later run, make test's too, replays it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-300}
fuzzers=(fuzz_load fuzz_verify fuzz_tga fuzz_bmp fuzz_content)
scripts/build.sh sanitize -- "${fuzzers[@]}" >/dev/null
for fuzzer in "${fuzzers[@]}"; do
  seeds=fuzz/corpus
  [ "$fuzzer" = fuzz_load ] || [ "$fuzzer" = fuzz_verify ] || seeds=fuzz/corpus-preview
  echo "== $fuzzer, $seconds s"
  scripts/run-fuzz.sh "build/sanitize/$fuzzer" "$seeds" "build/sanitize/$fuzzer-work" "$seconds" 2>&1 |
    grep -E '^(stat::|==|SUMMARY|INFO: Running|Done)' || true
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "$fuzzer found a problem: see build/sanitize/$fuzzer-work/artifacts" >&2; exit 1; }
done
