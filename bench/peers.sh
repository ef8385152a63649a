#!/bin/sh
# Whole-process comparison with Lua 5.4 and Debian's python3 on the same machine in one
# run: each program runs in rounds taking turns with its peers (BENCH_ROUNDS, 5 by
# default), so that a shared machine's changing load falls on all of them alike; the median
# processor time (user + system) and the median peak memory count. Exits 1 when a target of
# the quor runner is missed: each program at most 3x Lua 5.4 and faster than python3, its
# peak memory at most 2x Lua's or at most 8 MiB above it; start-up within 2x of Lua's.
dir="${1:-build}"
here=$(cd "$(dirname "$0")" && pwd)
quor="$dir/cli/quor"
timer="$dir/bench/tools/proctime"
[ -x "$quor" ] && [ -x "$timer" ] || { echo "peers: build quor and proctime first" >&2; exit 1; }
quor=$(cd "$(dirname "$quor")" && pwd)/quor
timer=$(cd "$(dirname "$timer")" && pwd)/proctime
cd "$here/peers" || exit 1
rounds="${BENCH_ROUNDS:-5}"
# Debian's python3 (the set-up installs it), not a version manager's wrapper script that
# may come first on the PATH and costs a shell start of its own.
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
have() { command -v "$1" >/dev/null 2>&1; }

# side COMMAND...: the commands ("-" skips one) run in interleaved rounds; prints
# "cpu wall peak-KiB" medians for each in that order ("- - -" for a skipped one).
side() {
  tmp=$(mktemp -d)
  r=0
  while [ "$r" -lt "$rounds" ]; do
    r=$((r + 1))
    i=0
    for cmd in "$@"; do
      i=$((i + 1))
      [ "$cmd" = "-" ] && continue
      # shellcheck disable=SC2086
      "$timer" 1 $cmd | awk '{ print $2, $1, $3 }' >> "$tmp/$i"
    done
  done
  i=0
  for cmd in "$@"; do
    i=$((i + 1))
    if [ -s "$tmp/$i" ]; then
      for col in 1 2 3; do
        printf "%s " "$(cut -d' ' -f$col "$tmp/$i" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')"
      done
    else
      printf -- "- - - "
    fi
  done
  rm -rf "$tmp"
  echo
}

bad=0
# verdict TEXT OK: prints the verdict line and remembers a miss.
verdict() {
  if [ "$2" = 1 ]; then echo "    ok         $1"; else echo "    MISSED     $1"; bad=1; fi
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 1e-6; printf "%.2f", a / b }'; }
net() { awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; printf "%.4f", (d > 0.0001 ? d : 0.0001) }'; }

lua=-; py=-; lua1=-; py1=-
have lua5.4 && { lua="lua5.4"; lua1="lua5.4 one.lua"; }
have $python && { py=$python; py1="$python one.py"; }

# name|label|unit (or -)
while IFS='|' read -r work label unit; do
  [ -z "$work" ] && continue
  q="$quor $work.q"
  [ "$unit" != "-" ] && q="$quor -u $unit $work.q"
  lcmd=-; pcmd=-
  [ "$lua" != "-" ] && lcmd="$lua $work.lua"
  [ "$py" != "-" ] && pcmd="$py $work.py"
  set -- $(side "$q" "$lcmd" "$pcmd" "$quor one.q" "$lua1" "$py1")
  qc=$1; qm=$3; lc=$4; lm=$6; pc=$7; q1=${10}; l1=${13}; p1=${16}
  printf "%-46s quor %7.4f s %7d KiB" "$label" "$qc" "$qm"
  [ "$lc" != "-" ] && printf " | lua5.4 %7.4f s %7d KiB" "$lc" "$lm"
  [ "$pc" != "-" ] && printf " | python3 %7.4f s" "$pc"
  echo
  if [ "$lc" != "-" ]; then
    printf "    net of start-up: quor %s s, Lua %s s" "$(net "$qc" "$q1")" "$(net "$lc" "$l1")"
    [ "$pc" != "-" ] && printf ", python3 %s s" "$(net "$pc" "$p1")"
    echo
    verdict "at most 3x Lua 5.4: quor is $(ratio "$qc" "$lc")x Lua" "$(awk -v q="$qc" -v l="$lc" 'BEGIN { print (q <= 3 * l) ? 1 : 0 }')"
    verdict "peak memory at most 2x Lua's or 8 MiB above it: $qm KiB, $(ratio "$qm" "$lm")x Lua's" \
      "$(awk -v q="$qm" -v l="$lm" 'BEGIN { print (q <= 2 * l || q <= l + 8192) ? 1 : 0 }')"
  else
    echo "    (lua5.4 not installed: no Lua ratio)"
  fi
  if [ "$pc" != "-" ]; then
    verdict "faster than python3: python3 takes $(ratio "$pc" "$qc")x quor's time" "$(awk -v q="$qc" -v p="$pc" 'BEGIN { print (q < p) ? 1 : 0 }')"
  fi
done <<'WORKS'
loop10m|for(i:=1:10000000) s:=s+i|-
primes|trial-division primes below 50,000|-
array|fill and sum a 2,000,000-element array|-
grid|fill and sum a 150x150x150 array|-
fib30|recursive fib(30) from a unit|fib.txt
ack|ack(2,900) three times, ~1,800 deep|ack.txt
add3|2,000,000 calls s:=add3(s,i,1) from the main|add3.txt
sumarr|10,000 sums of a 1,000-element array by name|sumarr.txt
text|100,000-character text one char at a time|-
WORKS

lcmd=-
have lua5.4 && lcmd="lua5.4 one.lua"
set -- $(side "$quor one.q" "$lcmd")
qc=$1; qw=$2; lc=$4; lw=$5
printf "%-46s quor %7.4f s (wall %7.4f)" "a one-statement program (start-up)" "$qc" "$qw"
[ "$lc" != "-" ] && printf " | lua5.4 %7.4f s (wall %7.4f)" "$lc" "$lw"
echo
if [ "$lc" != "-" ]; then
  # Processor times of a few milliseconds: compare wall times too, the larger ratio counts.
  verdict "within 2x of Lua's whole run: $(ratio "$qc" "$lc")x (wall $(ratio "$qw" "$lw")x)" \
    "$(awk -v a="$qc" -v b="$lc" -v c="$qw" -v d="$lw" 'BEGIN { print (a <= 2*b + 0.001 && c <= 2*d + 0.001) ? 1 : 0 }')"
fi
exit $bad
