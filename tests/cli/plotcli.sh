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

# pngsize FILE: the width and height in a PNG's header, after its exact signature.
pngsize() {
  [ "$(od -An -tx1 -N8 "$1" | tr -d ' ')" = "89504e470d0a1a0a" ] || { echo "no PNG signature"; return; }
  od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'
}

# -o - writes the picture to standard output: the same PNG bytes as a file, in the size asked
# for; --format names another format.
"$quor" plot 'x^2' --size 300x200 -o - > "$tmp/out.png" 2>"$tmp/err" || fail "-o - exit"
[ "$(pngsize "$tmp/out.png")" = "291x154" ] || fail "-o - PNG: $(pngsize "$tmp/out.png")"
"$quor" plot 'x^2' --size=300x200 --output="$tmp/file.png" || fail "--output="
cmp -s "$tmp/out.png" "$tmp/file.png" || fail "standard output and file differ"
"$quor" plot 'x^2' --size 300x200 --format bmp -o - > "$tmp/out.bmp" || fail "--format bmp"
[ "$(head -c 2 "$tmp/out.bmp")" = "BM" ] || fail "--format bmp gave no bitmap"
"$quor" plot 'x^2' --format=png -o "$tmp/named.bmp" || fail "--format png"
[ "$(pngsize "$tmp/named.bmp")" = "535x329" ] || fail "--format png over the name"

# --size from 11x48 to 4096x4096, each bound on its own, one beyond refused.
while read -r size want; do
  "$quor" plot x --size "$size" -o "$tmp/s.png" 2>"$tmp/err"; rc=$?
  if [ "$want" = refused ]; then
    [ $rc = 2 ] || fail "--size $size exit $rc"
    [ "$(head -n 1 "$tmp/err")" = "quor: bad size: $size (WxH, from 11x48 to 4096x4096)" ] || fail "--size $size: $(cat "$tmp/err")"
  else
    [ $rc = 0 ] || fail "--size $size exit $rc"
    [ "$(pngsize "$tmp/s.png")" = "$want" ] || fail "--size $size gave $(pngsize "$tmp/s.png")"
  fi
  rm -f "$tmp/s.png"
done <<'EOF'
11x48 2x2
10x48 refused
11x47 refused
4096x48 4087x2
4097x48 refused
11x4096 2x4050
11x4097 refused
20.5x60 refused
0x0 refused
x refused
20x refused
EOF

# Option forms: --opt=value and --opt value, options after the expression, an expression
# led by a minus, -- ending the options: all draw the same picture.
for args in "--range=-2:2 -o $tmp/r1.png -x^2" "-x^2 --range -2:2 -o $tmp/r1.png" "--range -2:2 -o $tmp/r1.png -- -x^2"; do
  # shellcheck disable=SC2086
  "$quor" plot $args 2>"$tmp/err" || fail "quor plot $args: $(cat "$tmp/err")"
  [ -s "$tmp/r1.png" ] || fail "quor plot $args wrote nothing"
  if [ -e "$tmp/r0.png" ]; then cmp -s "$tmp/r1.png" "$tmp/r0.png" || fail "quor plot $args drew another picture"; fi
  mv "$tmp/r1.png" "$tmp/r0.png"
done
# ... and not the picture of x^2.
"$quor" plot 'x^2' --range -2:2 -o "$tmp/r2.png" 2>/dev/null || fail "x^2"
cmp -s "$tmp/r0.png" "$tmp/r2.png" && fail "-x^2 drew x^2"
for v in --version -V; do [ "$("$quor" plot $v)" = "0.5.0.0" ] || fail "plot $v"; done
for h in --help -h; do "$quor" plot $h | grep -q -- '--size=WxH' || fail "plot $h"; done

# Usage errors: exit 2 and the reason; the last option without its value among them.
while IFS='|' read -r args message; do
  # shellcheck disable=SC2086
  "$quor" plot $args > /dev/null 2>"$tmp/err"; rc=$?
  [ $rc = 2 ] || fail "quor plot $args: exit $rc"
  [ "$(cat "$tmp/err")" = "quor: $message
Try 'quor plot --help'." ] || fail "quor plot $args: $(cat "$tmp/err")"
done <<'EOF'
|no expression given
x -o|option -o needs a value
x --size|option --size needs a value
x --range|option --range needs a value
x --var|option --var needs a value
x -u|option -u needs a value
x --format|option --format needs a value
x --format=gif|unknown format: gif (png, bmp or svg)
x --range 2:2|bad range: 2:2 (LO:HI with LO different from HI)
x --bogus|unknown option: --bogus
x y|more than one expression given
x --no-axes=1|option --no-axes takes no value
EOF

# Error lines of the sampling go to standard error, identical ones folded: ten from the
# pre-test and one per column of the 536-column window.
"$quor" plot 'foo(x)' -o "$tmp/g.png" > "$tmp/out" 2>"$tmp/err" || fail "unknown function exit"
[ ! -s "$tmp/out" ] || fail "error lines on standard output"
grep -qx 'quor: Can not find this self-defition function :foothe final result maybe incorrected (repeated 546 times)' "$tmp/err" ||
  fail "folded lines: $(cat "$tmp/err")"
# Unreadable units and missing tables say why.
"$quor" plot x -u "$tmp/nounit" -o "$tmp/h.png" 2>"$tmp/err"; [ $? = 1 ] || fail "missing unit"
[ "$(cat "$tmp/err")" = "quor: Error on load function form: $tmp/nounit: No such file or directory" ] || fail "unit: $(cat "$tmp/err")"
mkdir "$tmp/notables"
"$quor" plot x --tables "$tmp/notables" -o "$tmp/h.png" 2>"$tmp/err"; [ $? = 1 ] || fail "missing tables"
[ "$(cat "$tmp/err")" = "quor: Cannot open file \"api.dat\". No such file or directory (looked in: $tmp/notables)" ] || fail "tables: $(cat "$tmp/err")"
# A name ending in .svg (any case) or --format=svg writes the plot window's vector drawing
# of the drawing area; --format wins over the name.
"$quor" plot 'sin(x)*x' -o "$tmp/p.svg" || fail "svg plot"
head -c 5 "$tmp/p.svg" | grep -q '<?xml' || fail "not XML: $(head -c 20 "$tmp/p.svg")"
grep -q 'viewBox="0 0 535 329"' "$tmp/p.svg" || fail "svg view box"
grep -q '<title>sin(x)\*x</title>' "$tmp/p.svg" || fail "svg title"
[ "$(grep -o ' L' "$tmp/p.svg" | wc -l)" -ge 535 ] || fail "svg without the curve's path"
"$quor" plot 'sin(x)*x' --format=svg -o - > "$tmp/out.svg" || fail "--format=svg -o -"
cmp -s "$tmp/p.svg" "$tmp/out.svg" || fail "svg on standard output differs"
"$quor" plot 'sin(x)*x' -o "$tmp/P.SVG" && cmp -s "$tmp/p.svg" "$tmp/P.SVG" || fail "upper-case .SVG"
"$quor" plot 'sin(x)*x' --format svg -o "$tmp/v.png" && cmp -s "$tmp/p.svg" "$tmp/v.png" || fail "--format svg"
"$quor" plot 'sin(x)*x' --format png -o "$tmp/v.svg" || fail "--format png"
[ "$(pngsize "$tmp/v.svg")" = "535x329" ] || fail "--format png to .svg: $(pngsize "$tmp/v.svg")"
"$quor" plot 'x^2' --size 300x200 -o "$tmp/s.svg" && grep -q 'viewBox="0 0 291 154"' "$tmp/s.svg" || fail "svg size"
"$quor" plot x -o /dev/full --format=svg 2>"$tmp/err"; [ $? = 1 ] || fail "svg to /dev/full"
[ "$(cat "$tmp/err")" = "quor: cannot write /dev/full: No space left on device" ] || fail "svg /dev/full: $(cat "$tmp/err")"
"$quor" plot --help | grep -q -- '--format=png|bmp|svg' || fail "help without svg"

mkdir "$tmp/dirtables" "$tmp/dirtables/api.dat"
(cd "$tmp/dirtables" && "$quor" plot x -o "$tmp/h.png") 2>"$tmp/err"; [ $? = 1 ] || fail "api.dat folder"
[ "$(cat "$tmp/err")" = 'quor: Cannot open file "api.dat". Is a directory' ] || fail "folder table: $(cat "$tmp/err")"
echo "plot command: all checks passed"
