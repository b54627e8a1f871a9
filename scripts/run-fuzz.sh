#!/usr/bin/env bash
# Runs a libFuzzer target for a fixed time on a copy of its seed corpus:
#   run-fuzz.sh FUZZER SEED_DIR WORK_DIR SECONDS
# Crash inputs land in WORK_DIR/artifacts; the run fails on any crash, leak,
# sanitizer report or input slower than 10 s.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4

rm -rf "$work/corpus"
mkdir -p "$work/corpus" "$work/artifacts"
if [ -d "$seeds" ]; then
  find "$seeds" -maxdepth 1 -type f -exec cp -t "$work/corpus" {} +
fi
exec "$fuzzer" -max_total_time="$seconds" -max_len=1048576 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus"
