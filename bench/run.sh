#!/bin/sh
# Runs the benchmark programs of an existing build directory (default: build); builds nothing.
set -e
dir="${1:-build}"
[ $# -gt 0 ] && shift
if [ ! -d "$dir/bench" ]; then
  echo "bench: no benchmarks in $dir (build first; Google Benchmark must be installed)" >&2
  exit 1
fi
found=0
for b in "$dir"/bench/*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  "$b" "$@"
done
[ "$found" = 1 ] || { echo "bench: no benchmark programs in $dir/bench" >&2; exit 1; }
