#!/usr/bin/env bash
# packwright at the format's limits against the machine's own references,
# measured in the same run on the same data: each row prints its time, the
# reference's, and their ratio (median of RUNS runs, default 3). Figures
# only: nothing passes or fails. Makes its data under build/bench-data and
# removes it at the end.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=${RUNS:-3}
P=$PWD/build/native/packwright
data=$PWD/build/bench-data
rm -rf "$data"
mkdir -p "$data"
trap 'rm -rf "$data"' EXIT
cc -O2 -o "$data/make_files" bench/ref/make_files.c

now() { date +%s.%N; }
# Median wall time of a command over $runs runs; $prepare runs before each, untimed.
timed() {
  local prepare=$1; shift
  local times=()
  for _ in $(seq "$runs"); do
    eval "$prepare"
    sync
    local t0 t1
    t0=$(now); "$@" >/dev/null 2>&1; t1=$(now)
    times+=("$(echo "$t1 - $t0" | bc)")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}
row() {  # name time reference-name reference-time goal
  printf '%-44s %8.3f s   %-22s %8.3f s   %5.2fx   (goal %s)\n' "$1" "$2" "$3" "$4" "$(echo "$2 / $4" | bc -l)" "$5"
}

# An archive of N entries of SIZE bytes, written by packwright from files.
make_archive() {  # N SIZE OUT
  local dir=$data/src-$1-$2
  if [ ! -d "$dir" ]; then mkdir -p "$dir"; "$data/make_files" "$dir" "$1" "$2"; fi
  "$P" create "$3" "$dir" >/dev/null
}

echo "== packwright against the machine's references ($runs runs each, medians)"
avail=$(df -Pk "$data" | awk 'NR == 2 { print $4 }')

# Extraction, at two sizes: the CPU per entry must not grow with the count.
for n in 4096 65536; do
  make_archive $n 16 "$data/x$n.vpp"
  t=$(timed "rm -rf $data/out; mkdir $data/out" "$P" extract "$data/x$n.vpp" "$data/out")
  r=$(timed "rm -rf $data/out; mkdir $data/out" "$data/make_files" "$data/out" $n 16)
  row "extract $n entries" "$t" "C program, same files" "$r" "1.3x"
  cpu=$( { /usr/bin/time -f %U "$P" extract "$data/x$n.vpp" "$data/out2" >/dev/null; } 2>&1; rm -rf "$data/out2")
  echo "    user CPU per entry at $n: $(echo "$cpu * 1000000 / $n" | bc) us"
done
rm -rf "$data/out"

make_archive 65536 16 "$data/x65536.vpp"
t=$(timed "rm -f $data/c.vpp" "$P" create "$data/c.vpp" "$data/src-65536-16")
r=$(timed "rm -f $data/cat.out" sh -c "find $data/src-65536-16 -type f -print0 | sort -z | xargs -0 cat > $data/cat.out && sync")
row "create from 65536 small files, flushed" "$t" "cat + sync" "$r" "1.3x"

names=$(seq -f "f%05g" 0 65 65000 | head -1000 | tr '\n' ' ')
t=$(timed "cp $data/x65536.vpp $data/r.vpp" "$P" remove "$data/r.vpp" $names)
r=$(timed "rm -f $data/cp.out" sh -c "cp $data/x65536.vpp $data/cp.out && sync")
row "remove 1000 of 65536 entries, flushed" "$t" "cp + sync" "$r" "1.5x"

t=$(timed "" "$P" list "$data/x65536.vpp")
r=$(timed "" dd if="$data/x65536.vpp" of=/dev/null bs=4M count=1)
row "list 65536 entries" "$t" "one 4 MiB read" "$r" "3x"

if [ "$avail" -gt $((5 * 1024 * 1024)) ]; then
  mkdir -p "$data/large"
  for i in 1 2 3 4; do head -c $((256 << 20)) /dev/urandom >"$data/large/part$i.bin"; done
  t=$(timed "rm -f $data/l.vpp" "$P" create "$data/l.vpp" "$data/large")
  r=$(timed "rm -f $data/cat.out" sh -c "cat $data/large/* > $data/cat.out && sync")
  row "create from 4 x 256 MiB, flushed" "$t" "cat + sync" "$r" "1.15x"
  rm -f "$data/cat.out"
  echo small >"$data/small.txt"
  t=$(timed "cp $data/l.vpp $data/a.vpp" "$P" add "$data/a.vpp" "$data/small.txt")
  r=$(timed "rm -f $data/cp.out" sh -c "cp $data/l.vpp $data/cp.out && sync")
  row "add one file to a 1 GiB archive, flushed" "$t" "cp + sync" "$r" "1.25x"
  rm -rf "$data/large" "$data/l.vpp" "$data/a.vpp" "$data/cp.out"
  truncate -s $((1536 << 20)) "$data/huge.bin"
  kb=$( { /usr/bin/time -f %M "$P" create "$data/h.vpp" "$data/huge.bin" >/dev/null; } 2>&1)
  printf '%-44s %8.1f MiB peak memory   (goal 32 MiB)\n' "save with a 1.5 GiB entry" "$(echo "$kb / 1024" | bc -l)"
else
  echo "(large cases skipped: less than 5 GiB free)"
fi
