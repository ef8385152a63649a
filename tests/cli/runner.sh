#!/bin/sh
# The quor runner's command line: option forms and their edges, exit statuses, error reasons,
# where the name tables come from, plain-mode reports with their place, folding, --strict.
quor="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
nl='
'

# run ARGS...: runs quor with standard input from $input (default none), keeping the exit
# status in $rc, standard output in $out and standard error in $err.
input=/dev/null
run() {
  "$quor" "$@" < "$input" > "$tmp/out" 2> "$tmp/err"; rc=$?
  out=$(cat "$tmp/out"); err=$(cat "$tmp/err")
}
# expect RC OUT ERR ARGS...: the exit status and both outputs exactly.
expect() {
  want_rc="$1"; want_out="$2"; want_err="$3"; shift 3
  run "$@"
  [ "$rc" = "$want_rc" ] || fail "quor $*: exit $rc, expected $want_rc ($err)"
  [ "$out" = "$want_out" ] || fail "quor $*: standard output '$out', expected '$want_out'"
  [ "$err" = "$want_err" ] || fail "quor $*: standard error '$err', expected '$want_err'"
}

# Help and version, in every form.
for v in --version -V; do expect 0 "0.5.0.0" "" $v; done
for h in --help -h; do
  run $h; [ $rc = 0 ] && [ -z "$err" ] || fail "$h exit $rc"
  printf '%s\n' "$out" | grep -q -- '--transcript' || fail "$h text"
done
# --help wins over a usage error elsewhere only when the arguments parse.
expect 0 "0.5.0.0" "" -e 'print(1)' --version

# Usage errors: exit 2, the reason, then a pointer to --help. An option given last
# without its value is one of them (it must never take a missing argument).
try="Try 'quor --help'."
while IFS='|' read -r args message; do
  # shellcheck disable=SC2086
  expect 2 "" "quor: $message$nl$try" $args
done <<'EOF'
|no program given (a FILE, - for standard input, or -e TEXT)
--bogus x|unknown option: --bogus
--bogus=3 x|unknown option: --bogus
---steps=5 x|unknown option: ---steps
-x prog.q|unknown option: -x
-e|option -e needs a value
prog.q -u|option -u needs a value
prog.q --tables|option --tables needs a value
prog.q --plots|option --plots needs a value
prog.q --dialect|option --dialect needs a value
--dialect=klingon prog.q|unknown dialect: klingon (editor or plotter)
--dialect klingon prog.q|unknown dialect: klingon (editor or plotter)
--vars=1 prog.q|option --vars takes no value
a.q b.q|more than one program file given
-e 1 a.q|give either a program file or -e TEXT, not both
EOF

# Unreadable programs say why, with exit 2.
mkdir "$tmp/folder"
expect 2 "" "quor: cannot read $tmp/missing.q: No such file or directory" "$tmp/missing.q"
expect 2 "" "quor: cannot read $tmp/folder: Is a directory" "$tmp/folder"

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
expect 0 "4" "" -e 'print(sqrt(16))'
# A program on standard input; the tables of the current folder win over the shipped ones.
printf 'root\r\n' > math.dat; : > command.dat; : > api.dat; : > strings.dat
[ "$(echo 'x:=root(-9)' | "$quor" --vars - 2>"$tmp/err")" = "x=9" ] || fail "current folder tables"
# Tables too short for their built-ins are named once, on standard error.
[ "$(wc -l < "$tmp/err")" = 4 ] || fail "table warnings: $(cat "$tmp/err")"
grep -qx 'quor: name table math.dat: 15 of its 16 built-ins have no name (lines 2 to 16 missing or empty; the file has 1 lines)' "$tmp/err" || fail "math.dat warning: $(cat "$tmp/err")"
rm -f ./*.dat

# Option forms: --opt=value and --opt value, short options before or after FILE, -- ends
# the options so that a file may start with a dash, -e may hold a dash-led text.
mkdir tables
# Whole tables (short ones are warned about), the first math name changed to tell them apart.
shipped=$(dirname "$quor")
for t in command api strings; do cp "$shipped/$t.dat" tables/; done
{ echo root; tail -n +2 "$shipped/math.dat"; } > tables/math.dat
printf 'x:=root(-4)\n' > -dash.q
for form in "--tables=tables --vars -- -dash.q" "--tables tables --vars -- -dash.q" \
            "--vars --tables tables -- -dash.q"; do
  # shellcheck disable=SC2086
  expect 0 "x=4" "" $form
done
printf 'y:=2\n' > two.q
expect 0 "y=2" "" two.q --vars
expect 0 "" "" -e '-1'
expect 0 "z=3" "" --vars -e 'z:=3'

# A table found nowhere stops before the run and lists the places looked in.
mkdir empty
expect 1 "" 'quor: Cannot open file "command.dat". No such file or directory (looked in: empty)' \
  --tables empty -e 'print(1)'
expect 1 'error: Cannot open file "command.dat". No such file or directory' "" -e 'print(1)' --tables=empty --transcript
# Something of a table's name that cannot be read is named with the reason: the search does
# not pass on to the shipped tables. A folder in the current directory, a dangling link.
mkdir sub && mkdir sub/math.dat && cp tables/command.dat tables/api.dat sub/
(cd sub && expect 1 "" 'quor: Cannot open file "math.dat". Is a directory' -e 'print(1)') || exit 1
ln -s nowhere sub/dangling && mkdir sub2 && ln -s ../sub/dangling sub2/command.dat
(cd sub2 && expect 1 "" 'quor: Cannot open file "command.dat". No such file or directory' -e 'print(1)') || exit 1
expect 1 "" 'quor: Cannot open file "sub/math.dat". Is a directory' --tables sub -e 'print(1)'
# A unit that cannot be read says why; the transcript keeps the bare report.
expect 1 "" "quor: Error on load function form: nosuch.txt: No such file or directory" -u nosuch.txt -e 'print(1)'
expect 1 "" "quor: Error on load function form: empty: Is a directory" -u empty -e 'print(1)'
expect 1 "error: Error on load function form: nosuch.txt" "" --transcript -u nosuch.txt -e 'print(1)'

# Plain mode: printed lines on standard output as they are; boxes and error lines on
# standard error with the file and line of the statement, a unit's own for its functions.
printf 'rem\nfunction r=twice(a)\nr:=a*2\nmsg(r)\nendfunction\n' > u.txt
printf 'a:=1\nprint(a)\n\nmsg(a+1);b:=twice(5)\nc:=nosuch(1)\n' > p.q
expect 0 "1" "quor: p.q:4: 2${nl}quor: u.txt:4: 10${nl}\
quor: p.q:5: Can not find this self-defition function :nosuchthe final result maybe incorrected" -u u.txt p.q
expect 0 'a\\b' "quor: -e:1: box" -e "print('a\\\\b');msg('box')"
# A stopped run: its reports, then the place it stopped.
printf 'a:=1\nb:=ln(0)\nprint(2)\n' > stop.q
expect 1 "" "quor: stop.q:2: Error on function ln inside compiler ${nl}quor: stop.q:2: Critical error on compile: Main function${nl}\
quor: stop.q:2: Critical error on compile at: Main function${nl}quor: stop.q:2: the run stopped here: Error on function ln inside compiler " stop.q
# A block fault: no statement has run, so its box and its like error line stand without a
# place, folded.
printf 'if(1)\nprint(1)\n' > block.q
expect 1 "" "quor: Error on mismatched on if on if(1) (repeated 2 times)" block.q

# Identical consecutive lines on standard error are written once with their count; a line
# elsewhere in between (a printed one, or another place) keeps them apart.
printf 'for(i:=1:3)\nmsg(7)\nend\nmsg(8);msg(8)\nfor(i:=1:2)\nmsg(9);print(i)\nend\nmsg(8)\n' > fold.q
"$quor" fold.q > "$tmp/both" 2>&1 || fail "fold.q exit"
[ "$(cat "$tmp/both")" = "quor: fold.q:2: 7 (repeated 3 times)${nl}quor: fold.q:4: 8 (repeated 2 times)${nl}\
quor: fold.q:6: 9${nl}1${nl}quor: fold.q:6: 9${nl}2${nl}quor: fold.q:8: 8" ] || fail "folding: $(cat "$tmp/both")"
# A plot of an unknown function reports once per column of its 536.
expect 0 "" "quor: -e:1: Can not find this self-defition function :foothe final result maybe incorrected (repeated 536 times)" \
  -e "plot('foo(x)','x',h)"
# The transcript never folds.
run --transcript -e "msg(1);msg(1)"
[ "$out" = "box: 1${nl}box: 1" ] || fail "transcript folded '$out'"

# --strict: any box or error line makes the exit status 1, in both modes.
while IFS='|' read -r want mode text; do
  # shellcheck disable=SC2086
  run --strict $mode -e "$text"; [ "$rc" = "$want" ] || fail "--strict $mode '$text': exit $rc, expected $want"
done <<'EOF'
0||print(1)
1||msg(1)
1||x:=nosuch(1)
1||x:=ln(0)
0|--transcript|print(1)
1|--transcript|msg(1)
1|--transcript|x:=nosuch(1)
EOF
expect 0 "" "quor: -e:1: 1" -e 'msg(1)'

# Answers: a carriage return before the line feed is dropped; the end of input cancels.
printf '7\r\nab\r\n' > answers
input=answers
expect 0 "x=7" "c: p [1] " --vars -e "x:=inputnum('c','p',1)"
run --transcript -e "x:=inputnum('c','p',1);setstr(t,inputstr('c','q','d'));print(getstr(t))"
[ "$out" = "ask: c|p|1${nl}answer: 7${nl}ask: c|q|d${nl}answer: ab${nl}memo: ab" ] || fail "CRLF answers '$out'"
input=/dev/null

# The man page is made at build when help2man is there.
if command -v help2man > /dev/null; then
  man="$(dirname "$quor")/quor.1"
  [ -f "$man" ] && grep -q 'strict' "$man" || fail "no man page at $man"
  # The plotting command's options are in it too, in their own section.
  grep -q '^\.SH "QUOR PLOT"' "$man" && grep -q -- '--range=LO:HI' "$man" || fail "man page without quor plot --help"
fi
echo "runner: all checks passed"
