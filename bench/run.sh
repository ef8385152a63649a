#!/bin/sh
# Runs the benchmark programs of an existing build directory (default: build), compares
# their times with bench/targets.txt, then compares whole runs of quor with Lua 5.4 and
# python3 (bench/peers.sh); builds nothing. Exits 1 when a target is missed. Times are
# processor times: the machine may be shared.
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
status=0
# name,iterations,real_time,cpu_time,time_unit,...; a target "=NAME*F" is F times NAME's time.
awk -F, -v targets="$here/targets.txt" '
  BEGIN { while ((getline line < targets) > 0) { if (line ~ /^#/ || line == "") continue; split(line, f, " "); max[f[1]] = f[2] } }
  { name = $1; gsub(/"/, "", name); t = $4; u = $5
    ms[name] = (u == "ns") ? t / 1e6 : (u == "us") ? t / 1e3 : (u == "s") ? t * 1e3 : t; order[++n] = name }
  END {
    for (i = 1; i <= n; i++) {
      name = order[i]; limit = "-"; verdict = "no target"
      if (name in max) {
        limit = max[name]
        if (limit ~ /^=/) { split(substr(limit, 2), g, "*"); limit = ms[g[1]] * g[2]; shown = sprintf("%.3f (%s x %s)", limit, g[2], g[1]) }
        else shown = limit
        verdict = (ms[name] <= limit) ? "ok" : "TOO SLOW"
      } else shown = "-"
      printf "%-34s %10.3f ms   target %s ms   %s\n", name, ms[name], shown, verdict
      if (verdict == "TOO SLOW") bad = 1
    }
    exit bad }' "$results" || status=1
echo "== quor beside Lua 5.4 and python3 (medians of whole runs in interleaved rounds)"
sh "$here/peers.sh" "$dir" || status=1
exit $status
