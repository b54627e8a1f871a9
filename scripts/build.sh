#!/usr/bin/env bash
# Configures (when needed) and builds presets: build.sh [PRESET...] [-- TARGET...]
# Default: all four presets, all targets.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

presets=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do presets+=("$1"); shift; done
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native sanitize win64 win32)

for p in "${presets[@]}"; do
  dir=build/$p
  # Ninja re-runs CMake itself when a CMakeLists.txt or globbed directory
  # changes; a changed preset or toolchain needs a fresh configure.
  if [ ! -f "$dir/build.ninja" ] || [ CMakePresets.json -nt "$dir/CMakeCache.txt" ] ||
     [ -n "$(find cmake -newer "$dir/CMakeCache.txt" -name 'toolchain-*' -print -quit)" ]; then
    mkdir -p "$dir"
    if ! cmake --preset "$p" >"$dir/configure.log" 2>&1; then
      cat "$dir/configure.log" >&2
      echo "build: configuring $p failed" >&2
      exit 1
    fi
  fi
  echo "== build $p"
  if [ ${#targets[@]} -gt 0 ]; then
    cmake --build --preset "$p" --target "${targets[@]}"
  else
    cmake --build --preset "$p"
  fi
done
