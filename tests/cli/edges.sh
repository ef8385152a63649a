#!/bin/sh
# The runner at its edges: the answer to a file question in the transcript, and programs
# read with standard input closed (the program file may then get descriptor 0).
quor="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
nl='
'
cd "$tmp" || exit 1
printf 'x:=4\ny:=x*2\n' > data.txt

# load('*.txt') asks for a file: the answer read is part of the transcript, an empty one cancels.
out=$(printf 'data.txt\n' | "$quor" --transcript -e "print(load('*.txt'));print(y)")
[ "$out" = "open: .|*.txt${nl}answer: data.txt${nl}memo: 1${nl}memo: 8" ] || fail "answered load: '$out'"
out=$(printf '\n' | "$quor" --transcript -e "print(load('*.txt'))")
[ "$(printf '%s\n' "$out" | sed -n 2p)" = "cancel" ] || fail "cancelled load: '$out'"

# With standard input closed, a folder still reads as a folder and a program still runs.
mkdir folder
printf 'print(6*7)\n' > p.q
"$quor" folder <&- > out 2> err; rc=$?
[ $rc = 2 ] && [ "$(cat err)" = "quor: cannot read folder: Is a directory" ] || fail "folder, stdin closed: $rc $(cat err)"
"$quor" p.q <&- > out 2> err; rc=$?
[ $rc = 0 ] && [ "$(cat out)" = "42" ] && [ ! -s err ] || fail "program, stdin closed: $rc $(cat out) $(cat err)"
# A unit too large to load names no system error, whatever descriptor its file got.
truncate -s 257M big.q
for closed in no yes; do
  if [ $closed = yes ]; then "$quor" -u big.q -e 1 <&- > out 2> err; rc=$?
  else "$quor" -u big.q -e 1 < /dev/null > out 2> err; rc=$?; fi
  [ $rc = 1 ] && [ "$(cat err)" = "quor: Error on load function form: big.q is larger than 256 MiB" ] ||
    fail "big unit, stdin closed $closed: $rc $(cat err)"
done
rm -f big.q
echo ok
