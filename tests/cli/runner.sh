#!/bin/sh
# The quor runner's command line: options, exit statuses, where the name tables come from.
quor="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

[ "$("$quor" --version)" = "0.5.0.0" ] || fail "version"
"$quor" --help | grep -q -- '--transcript' || fail "help"
"$quor" 2>/dev/null; [ $? = 2 ] || fail "no program is a usage error"
"$quor" --bogus x 2>/dev/null; [ $? = 2 ] || fail "unknown option"
"$quor" "$tmp/missing.q" 2>/dev/null; [ $? = 2 ] || fail "unreadable file"
"$quor" "$tmp" 2>/dev/null; [ $? = 2 ] || fail "a folder as the program file"

# Files past 256 MiB are refused, by size or while reading; a FIFO with no writer reads
# as an empty program instead of waiting.
truncate -s 257M "$tmp/big.q"
"$quor" "$tmp/big.q" 2>"$tmp/err"; [ $? = 2 ] || fail "a too large program"
[ "$(cat "$tmp/err")" = "quor: cannot read $tmp/big.q: it is larger than 256 MiB" ] || fail "big: $(cat "$tmp/err")"
"$quor" -e "load('$tmp/big.q')" >/dev/null 2>"$tmp/err"; [ $? = 1 ] || fail "a too large data file"
grep -q "Error on load from file: $tmp/big.q is larger than 256 MiB" "$tmp/err" || fail "big load: $(cat "$tmp/err")"
"$quor" -u "$tmp/big.q" -e "1" 2>"$tmp/err"; [ $? = 1 ] || fail "a too large unit"
grep -q "Error on load function form: $tmp/big.q is larger than 256 MiB" "$tmp/err" || fail "big unit"
rm -f "$tmp/big.q"
mkfifo "$tmp/fifo"
[ "$(timeout 20 "$quor" --vars "$tmp/fifo"; echo "rc=$?")" = "rc=0" ] || fail "a FIFO without a writer"

# Started from anywhere, the tables next to the executable serve.
cd "$tmp" || fail "cd"
[ "$("$quor" -e 'print(sqrt(16))')" = "4" ] || fail "tables from the program's folder"
# A program on standard input; the tables of the current folder win over the shipped ones.
printf 'root\r\n' > math.dat; : > command.dat; : > api.dat; : > strings.dat
[ "$(echo 'x:=root(-9)' | "$quor" --vars - 2>"$tmp/err")" = "x=9" ] || fail "current folder tables"
# Tables too short for their built-ins are named once, on standard error.
[ "$(wc -l < "$tmp/err")" = 4 ] || fail "table warnings: $(cat "$tmp/err")"
grep -qx 'quor: name table math.dat: 15 of its 16 built-ins have no name (lines 2 to 16 missing or empty; the file has 1 lines)' "$tmp/err" || fail "math.dat warning: $(cat "$tmp/err")"
rm -f ./*.dat
# A table that cannot be found stops before the run.
mkdir empty
"$quor" --tables empty -e 'print(1)' 2>"$tmp/err"; rc=$?
[ $rc = 1 ] || fail "missing tables exit $rc"
grep -q 'command.dat' "$tmp/err" || fail "missing table not named"
# A unit that cannot be read.
"$quor" -u nosuch.txt -e 'print(1)' 2>"$tmp/err"; [ $? = 1 ] || fail "missing unit"
grep -q 'Error on load function form: nosuch.txt' "$tmp/err" || fail "unit error text"
"$quor" -u empty -e 'print(1)' 2>"$tmp/err"; [ $? = 1 ] || fail "a folder as a unit"
grep -q 'Error on load function form: empty' "$tmp/err" || fail "folder unit error text"
# A stopped run names the file and line.
printf 'a:=1\nb:=ln(0)\n' > stop.q
"$quor" stop.q >/dev/null 2>"$tmp/err"; [ $? = 1 ] || fail "stopped run exit"
grep -q '^quor: stop.q:2: ' "$tmp/err" || fail "stop place: $(cat "$tmp/err")"
# Plain mode: memo lines as they are, boxes on standard error.
out=$("$quor" -e "print('a\\\\b');msg('box')" 2>"$tmp/err")
[ "$out" = 'a\\b' ] || fail "plain memo '$out'"
[ "$(cat "$tmp/err")" = "quor: box" ] || fail "plain box"
# Transcript escapes.
out=$("$quor" --transcript -e "setstr(t,'a');t[1]:=10;t[2]:=92;print(getstr(t))")
[ "$out" = 'memo: a\n\\' ] || fail "transcript escape '$out'"
echo "runner: all checks passed"
