#!/bin/sh
# Runs the benchmark programs of an existing build directory (default: build) and compares
# their times with bench/targets.txt; builds nothing. Exits 1 when a target is missed.
set -e
dir="${1:-build}"
[ $# -gt 0 ] && shift
here=$(dirname "$0")
if [ ! -d "$dir/bench" ]; then
  echo "bench: no benchmarks in $dir (build first; Google Benchmark must be installed)" >&2
  exit 1
fi
results=$(mktemp)
trap 'rm -f "$results"' EXIT
found=0
for b in "$dir"/bench/*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  "$b" --benchmark_format=csv "$@" 2>/dev/null | tail -n +2 >> "$results"
done
[ "$found" = 1 ] || { echo "bench: no benchmark programs in $dir/bench" >&2; exit 1; }
# name,iterations,real_time,cpu_time,time_unit,...
awk -F, -v targets="$here/targets.txt" '
  BEGIN { while ((getline line < targets) > 0) { if (line ~ /^#/ || line == "") continue; split(line, f, " "); max[f[1]] = f[2] } }
  { name = $1; gsub(/"/, "", name); t = $3; u = $5
    ms = (u == "ns") ? t / 1e6 : (u == "us") ? t / 1e3 : (u == "s") ? t * 1e3 : t
    verdict = (name in max) ? ((ms <= max[name]) ? "ok" : "TOO SLOW") : "no target"
    printf "%-28s %10.3f ms   target %s ms   %s\n", name, ms, (name in max) ? max[name] : "-", verdict
    if (verdict == "TOO SLOW") bad = 1 }
  END { exit bad }' "$results"
