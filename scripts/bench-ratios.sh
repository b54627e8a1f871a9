#!/usr/bin/env bash
# packwright at the format's limits against the machine's own references,
# measured in the same run on the same data: each row prints its time, the
# reference's, and the median of their ratios over RUNS pairs (default 5). Figures
# only: nothing passes or fails. Makes its data under build/bench-data and
# removes it at the end.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=${RUNS:-5}
P=$PWD/build/native/packwright
data=$PWD/build/bench-data
rm -rf "$data"
mkdir -p "$data"
# Extraction goes to memory where the machine has a tmpfs: the disk's own
# noise would otherwise hide the program's.
out=$data/out
if [ "$(stat -f -c %T /dev/shm 2>/dev/null)" = tmpfs ]; then out=$(mktemp -d /dev/shm/packwright-bench.XXXXXX); fi
trap 'rm -rf "$data" "$out"' EXIT
cc -O2 -o "$data/make_files" bench/ref/make_files.c
cc -O2 -o "$data/list_entries" bench/ref/list_entries.c

now() { date +%s.%N; }
median() { sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }
# Runs a command and its reference in turn, A B A B, $runs times each (each
# after its untimed preparation and a sync), and prints their median times
# and the median of the ratios of each pair: a busy moment of the machine
# then weighs on both sides of one ratio.
compare() {  # name goal reference-name prepare command ref-prepare ref-command
  local name=$1 goal=$2 refname=$3 prepA=$4 cmdA=$5 prepB=$6 cmdB=$7
  local as=() bs=() ratios=() t0 t1 ta tb
  for _ in $(seq "$runs"); do
    eval "$prepA"; sync
    t0=$(now); eval "$cmdA" >/dev/null 2>&1; t1=$(now); ta=$(echo "$t1 - $t0" | bc)
    eval "$prepB"; sync
    t0=$(now); eval "$cmdB" >/dev/null 2>&1; t1=$(now); tb=$(echo "$t1 - $t0" | bc)
    as+=("$ta"); bs+=("$tb"); ratios+=("$(echo "$ta / $tb" | bc -l)")
  done
  printf '%-44s %8.3f s   %-22s %8.3f s   %5.2fx   (goal %s)\n' "$name" \
    "$(printf '%s\n' "${as[@]}" | median)" "$refname" "$(printf '%s\n' "${bs[@]}" | median)" \
    "$(printf '%s\n' "${ratios[@]}" | median)" "$goal"
}

# An archive of N entries of SIZE bytes, written by packwright from files.
make_archive() {  # N SIZE OUT
  local dir=$data/src-$1-$2
  if [ ! -d "$dir" ]; then mkdir -p "$dir"; "$data/make_files" "$dir" "$1" "$2"; fi
  "$P" create "$3" "$dir" >/dev/null
}

echo "== packwright against the machine's references ($runs pairs each, A B A B, medians; extraction into $(stat -f -c %T "$(dirname "$out")"))"
avail=$(df -Pk "$data" | awk 'NR == 2 { print $4 }')

# Extraction, at two sizes: the CPU per entry must not grow with the count.
for n in 4096 65536; do
  make_archive $n 16 "$data/x$n.vpp"
  compare "extract $n entries" 1.2x "C program, same files" \
    "rm -rf $out; mkdir $out" "$P extract $data/x$n.vpp $out" "rm -rf $out; mkdir $out" "$data/make_files $out $n 16"
  rm -rf "$out"
  cpu=$( { /usr/bin/time -f %U "$P" extract "$data/x$n.vpp" "$out" >/dev/null; } 2>&1; rm -rf "$out")
  echo "    user CPU per entry at $n: $(echo "$cpu * 1000000 / $n" | bc) us"
done
rm -rf "$out"

make_archive 65536 16 "$data/x65536.vpp"
compare "create from 65536 small files, flushed" 1.3x "cat + sync" \
  "rm -f $data/c.vpp" "$P create $data/c.vpp $data/src-65536-16" \
  "rm -f $data/cat.out" "find $data/src-65536-16 -type f -print0 | sort -z | xargs -0 cat > $data/cat.out && sync"

names=$(seq -f "f%05g" 0 65 65000 | head -1000 | tr '\n' ' ')
compare "remove 1000 of 65536 entries, flushed" 1.5x "cp + sync" \
  "cp $data/x65536.vpp $data/r.vpp" "$P remove $data/r.vpp $names" \
  "rm -f $data/cp.out" "cp $data/x65536.vpp $data/cp.out && sync"

compare "list 65536 entries" 1.5x "C lister, same lines" "" "$P list $data/x65536.vpp" "" "$data/list_entries $data/x65536.vpp"
kb=$( { /usr/bin/time -f %M "$P" list "$data/x65536.vpp" >/dev/null; } 2>&1)
ref=$( { /usr/bin/time -f %M "$data/list_entries" "$data/x65536.vpp" >/dev/null; } 2>&1)
printf '%-44s %8.1f MiB peak memory   (C lister %.1f MiB; goal 8 MiB)\n' "list 65536 entries" \
  "$(echo "$kb / 1024" | bc -l)" "$(echo "$ref / 1024" | bc -l)"

if [ "$avail" -gt $((5 * 1024 * 1024)) ]; then
  mkdir -p "$data/large"
  for i in 1 2 3 4; do head -c $((256 << 20)) /dev/urandom >"$data/large/part$i.bin"; done
  compare "create from 4 x 256 MiB, flushed" 1.15x "cat + sync" \
    "rm -f $data/l.vpp" "$P create $data/l.vpp $data/large" "rm -f $data/cat.out" "cat $data/large/* > $data/cat.out && sync"
  rm -f "$data/cat.out"
  echo small >"$data/small.txt"
  compare "add one file to a 1 GiB archive, flushed" 1.25x "cp + sync" \
    "cp $data/l.vpp $data/a.vpp" "$P add $data/a.vpp $data/small.txt" "rm -f $data/cp.out" "cp $data/l.vpp $data/cp.out && sync"
  rm -rf "$data/large" "$data/l.vpp" "$data/a.vpp" "$data/cp.out"
  truncate -s $((1536 << 20)) "$data/huge.bin"
  kb=$( { /usr/bin/time -f %M "$P" create "$data/h.vpp" "$data/huge.bin" >/dev/null; } 2>&1)
  printf '%-44s %8.1f MiB peak memory   (goal 32 MiB)\n' "save with a 1.5 GiB entry" "$(echo "$kb / 1024" | bc -l)"
else
  echo "(large cases skipped: less than 5 GiB free)"
fi
