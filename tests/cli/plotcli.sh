#!/bin/sh
# quor plot from the command line: pictures written, faults reported with their exit status.
quor="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A PNG of the drawing area (544x375 window: 535 x 329 pixels).
"$quor" plot 'sin(x)*x' -o "$tmp/a.png" || fail "plain plot"
head -c 8 "$tmp/a.png" | od -An -c | grep -q 'P   N   G' || fail "not a PNG"
w=$(od -An -tu1 -j16 -N8 "$tmp/a.png" | awk '{print $3*256+$4, $7*256+$8}')
[ "$w" = "535 329" ] || fail "PNG size $w"

# A Windows bitmap of a given size.
"$quor" plot 'x^2' --size 300x200 --range -2:2 -o "$tmp/b.bmp" || fail "bmp plot"
[ "$(head -c 2 "$tmp/b.bmp")" = "BM" ] || fail "not a bitmap"
w=$(od -An -tu4 -j18 -N4 "$tmp/b.bmp" | tr -d ' ')
h=$(od -An -td4 -j22 -N4 "$tmp/b.bmp" | tr -d " ")
[ "$w" = 291 ] && { [ "$h" = 154 ] || [ "$h" = -154 ]; } || fail "bitmap size $w x $h"

# Unmatched brackets: message on standard error, memo line on standard output, exit 1.
out=$("$quor" plot 'sin(x' -o "$tmp/c.png" 2>"$tmp/err"); rc=$?
[ $rc = 1 ] || fail "unmatched brackets exit $rc"
grep -q '非法表达式，出现了不匹配的符号' "$tmp/err" || fail "no bracket message"
[ "$out" = "非法表达式." ] || fail "memo line '$out'"
[ ! -e "$tmp/c.png" ] || fail "picture written for a bad expression"

# A constant is suspicious: warned and plotted, or refused with --strict.
"$quor" plot 5 -o "$tmp/d.png" 2>"$tmp/err" || fail "constant plot"
grep -q '原因：1。自变量错误，' "$tmp/err" || fail "no pre-test question"
"$quor" plot 5 --strict -o "$tmp/e.png" 2>/dev/null && fail "--strict plotted a constant"
[ ! -e "$tmp/e.png" ] || fail "picture written with --strict"

# A sampling failure closes the plot.
"$quor" plot 'ln(x-5)' -o "$tmp/f.png" >/dev/null 2>"$tmp/err" && fail "failed sampling gave 0"
grep -q 'Error on paint,this paint will quit!' "$tmp/err" || fail "no paint failure message"

# A requested picture that cannot be written is a failure with its reason.
"$quor" plot x -o /dev/full 2>"$tmp/err"; rc=$?
[ $rc = 1 ] || fail "/dev/full exit $rc"
[ "$(cat "$tmp/err")" = "quor: cannot write /dev/full: No space left on device" ] || fail "/dev/full: $(cat "$tmp/err")"
"$quor" --plots "$tmp/a.png/sub" -e "plot('x',x,h)" 2>"$tmp/err"; rc=$?
[ $rc = 1 ] || fail "unwritable plots folder exit $rc"
grep -q "^quor: cannot write $tmp/a.png/sub/plot-1.png: " "$tmp/err" || fail "plots folder: $(cat "$tmp/err")"
mkfifo "$tmp/fifo"
timeout 20 "$quor" plot x -o "$tmp/fifo" 2>"$tmp/err"; rc=$?
[ $rc = 1 ] || fail "a FIFO without a reader: exit $rc"
grep -q "cannot write $tmp/fifo: No such device or address" "$tmp/err" || fail "FIFO: $(cat "$tmp/err")"
# An existing picture is replaced whole, with nothing left beside it.
echo old > "$tmp/g.png"
"$quor" plot x -o "$tmp/g.png" || fail "replacing a picture"
head -c 8 "$tmp/g.png" | od -An -c | grep -q 'P   N   G' || fail "picture not replaced"
[ "$(ls "$tmp" | grep -c '^g')" = 1 ] || fail "temporary files left: $(ls "$tmp")"

# A plot opened while another samples, then the outer one fails: the inner board stays,
# the outer one closes (its entries must not move while it samples).
printf 'function y=f(a)\nplot(1,x,g)\nendfunction\n' > "$tmp/u.txt"
out=$(cd "$tmp" && "$quor" --transcript --plots pics -u u.txt -e "plot('f(x)+ln(0)',x,h)"); rc=$?
[ $rc = 0 ] || fail "nested plot exit $rc"
[ "$out" = "memo: Error on function ln inside compiler 
box: Error on paint,this paint will quit!
plot: 1|1|pics/plot-1.png" ] || fail "nested plot transcript '$out'"

# Usage errors.
"$quor" plot 2>/dev/null; [ $? = 2 ] || fail "no expression is a usage error"
"$quor" plot x --size 5 2>/dev/null; [ $? = 2 ] || fail "bad size is a usage error"
echo "plot command: all checks passed"
