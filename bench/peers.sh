#!/bin/sh
# Whole-process comparison with Lua 5.4, python3 and bc on the same machine in one run:
# each program runs 5 times, in rounds taking turns with its peers; the median processor
# time (user + system) counts, as the machine may be shared (median wall times are printed
# beside). Exits 1 when a target of the quor runner is missed.
dir="${1:-build}"
here=$(cd "$(dirname "$0")" && pwd)
quor="$dir/cli/quor"
timer="$dir/bench/tools/proctime"
[ -x "$quor" ] && [ -x "$timer" ] || { echo "peers: build quor and proctime first" >&2; exit 1; }
quor=$(cd "$(dirname "$quor")" && pwd)/quor
timer=$(cd "$(dirname "$timer")" && pwd)/proctime
cd "$here/peers" || exit 1
# Debian's python3 (the set-up installs it), not a version manager's wrapper script that
# may come first on the PATH and costs a shell start of its own.
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3

# cputime NAME COMMAND...: prints "cpu wall" of the median run, or "- -" when the program is absent.
measure() {
  command -v "$1" >/dev/null 2>&1 || { echo "- -"; return; }
  "$timer" 5 "$@" | awk '{ printf "%s %s\n", $2, $1 }'
}

# side COMMAND...: the commands ("-" skips one) run in 5 interleaved rounds, so that a shared
# machine's changing load falls on all of them alike; prints "cpu wall" medians for each in
# that order ("- -" for a skipped one).
side() {
  tmp=$(mktemp -d)
  for round in 1 2 3 4 5; do
    i=0
    for cmd in "$@"; do
      i=$((i + 1))
      [ "$cmd" = "-" ] && continue
      # shellcheck disable=SC2086
      "$timer" 1 $cmd | awk '{ print $2, $1 }' >> "$tmp/$i"
    done
  done
  i=0
  for cmd in "$@"; do
    i=$((i + 1))
    if [ -s "$tmp/$i" ]; then
      cpu=$(cut -d' ' -f1 "$tmp/$i" | sort -g | sed -n 3p)
      wall=$(cut -d' ' -f2 "$tmp/$i" | sort -g | sed -n 3p)
      printf "%s %s " "$cpu" "$wall"
    else
      printf -- "- - "
    fi
  done
  rm -rf "$tmp"
  echo
}
have() { command -v "$1" >/dev/null 2>&1; }

bad=0
row() {   # row LABEL QUOR-CPU QUOR-WALL LUA PY BC (each cpu wall)
  printf "%-34s quor %8.4f s (wall %7.4f)" "$1" "$2" "$3"
  shift 3
  for peer in lua5.4 python3 bc; do
    cpu=$1; wall=$2; shift 2
    [ "$cpu" = "-" ] && continue
    printf " | %s %8.4f s" "$peer" "$cpu"
  done
  echo
}

# verdict TEXT OK: prints the verdict line and remembers a miss.
verdict() {
  if [ "$2" = 1 ]; then echo "    ok         $1"; else echo "    TOO SLOW   $1"; bad=1; fi
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 1e-6; printf "%.1f", a / b }'; }
le() { awk -v a="$1" -v b="$2" 'BEGIN { print (a <= b) ? 1 : 0 }'; }

# A process doing nothing: no process can beat it. Each program's own start-up (a
# one-statement run, taking turns with the work) is taken away in the "net" figures.
set -- $(measure true); floor=$1
net() { [ "$1" = "-" ] || [ "$2" = "-" ] && { echo "-"; return; }; awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; printf "%.4f", (d > 0.0001 ? d : 0.0001) }'; }

for work in loop fib; do
  case $work in
    loop) label="for(i:=1:1000000) s:=s+i end"; q="$quor loop.q" ;;
    fib)  label="recursive fib(22) from a unit"; q="$quor -u fib.txt fib.q" ;;
  esac
  lcmd=-; pcmd=-; bcmd=-
  have lua5.4 && lcmd="lua5.4 $work.lua"
  have $python && pcmd="$python $work.py"
  have bc && bcmd="bc -q $work.bc"
  l1cmd=-; p1cmd=-; b1cmd=-
  have lua5.4 && l1cmd="lua5.4 one.lua"
  have $python && p1cmd="$python one.py"
  have bc && b1cmd="bc -q one.bc"
  set -- $(side "$q" "$lcmd" "$pcmd" "$bcmd" "$quor one.q" "$l1cmd" "$p1cmd" "$b1cmd")
  qc=$1; qw=$2; lc=$3; lw=$4; pc=$5; pw=$6; bcc=$7; bcw=$8; q1=$9; shift 9; l1=$2; p1=$4; b1=$6
  row "$label" "$qc" "$qw" "$lc" "$lw" "$pc" "$pw" "$bcc" "$bcw"
  qn=$(net "$qc" "$q1"); ln=$(net "$lc" "$l1"); pn=$(net "$pc" "$p1"); bn=$(net "$bcc" "$b1")
  printf "    net of start-up: quor %s s" "$qn"
  [ "$ln" != "-" ] && printf " | lua5.4 %s s (quor %sx Lua)" "$ln" "$(ratio "$qn" "$ln")"
  [ "$pn" != "-" ] && printf " | python3 %s s (%sx faster)" "$pn" "$(ratio "$pn" "$qn")"
  [ "$bn" != "-" ] && printf " | bc %s s (%sx faster)" "$bn" "$(ratio "$bn" "$qn")"
  echo
  if [ "$lc" != "-" ]; then
    verdict "at most 3x Lua 5.4: quor is $(ratio "$qc" "$lc")x Lua" "$(le "$qc" "$(awk -v l="$lc" 'BEGIN{print 3*l}')")"
  else
    echo "    (lua5.4 not installed: no Lua ratio)"
  fi
  for peer in python3 bc; do
    [ "$peer" = python3 ] && pcpu=$pc || pcpu=$bcc
    [ "$pcpu" = "-" ] && continue
    verdict "at least 5x faster than $peer: $(ratio "$pcpu" "$qc")x faster" "$(le "$(awk -v q="$qc" 'BEGIN{print 5*q}')" "$pcpu")"
    fifth=$(awk -v p="$pcpu" 'BEGIN{printf "%.4f", p/5}')
    if [ "$(le "$fifth" "$floor")" = 1 ]; then
      echo "               (a fifth of $peer's run, $fifth s, is no more than a process doing nothing takes here: $floor s)"
    elif [ "$lc" != "-" ] && [ "$(le "$fifth" "$lc")" = 1 ]; then
      echo "               (a fifth of $peer's run, $fifth s, is less than Lua 5.4 takes for the same work: $lc s)"
    fi
  done
done

lcmd=-
have lua5.4 && lcmd="lua5.4 one.lua"
set -- $(side "$quor one.q" "$lcmd" - -)
qc=$1; qw=$2; lc=$3; lw=$4
row "a one-statement program (start-up)" "$qc" "$qw" "$lc" "$lw" - - - -
if [ "$lc" != "-" ]; then
  # Processor times of a few milliseconds: compare wall times too, the larger ratio counts.
  verdict "within 2x of Lua's whole run: $(ratio "$qc" "$lc")x (wall $(ratio "$qw" "$lw")x)" \
    "$(awk -v a="$qc" -v b="$lc" -v c="$qw" -v d="$lw" 'BEGIN { print (a <= 2*b + 0.001 && c <= 2*d + 0.001) ? 1 : 0 }')"
fi
exit $bad
