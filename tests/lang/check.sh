#!/bin/sh
# Runs one language test: NAME.q through `quor --transcript`, comparing standard output
# with NAME.out and the exit status with NAME.rc (0 when absent). NAME.args adds options,
# NAME.in is standard input, NAME.err (when present) must equal standard error. A fourth
# argument is passed to quor first (--reference runs the literal algorithms).
quor="$1"; dir="$2"; name="$3"; mode="${4:-}"
cd "$dir" || exit 1
args=""
tmp=$(mktemp -d)
# @TMP@ in the options stands for a fresh folder, and reads back as @TMP@ in the output.
[ -f "$name.args" ] && args=$(sed "s|@TMP@|$tmp|g" "$name.args")
input=/dev/null
[ -f "$name.in" ] && input="$name.in"
want=0
[ -f "$name.rc" ] && want=$(cat "$name.rc")
out=$(mktemp); err=$(mktemp)
# A runaway program (a planted fault, an endless printing loop) must not fill the disk:
# files past 200 MiB end it with SIGXFSZ.
ulimit -f 409600
# shellcheck disable=SC2086
"$quor" $mode --transcript $args "$name.q" < "$input" > "$out" 2> "$err"
rc=$?
sed -i "s|$tmp|@TMP@|g" "$out" "$err"
status=0
if ! diff -u "$name.out" "$out"; then status=1; fi
if [ -f "$name.err" ] && ! diff -u "$name.err" "$err"; then status=1; fi
if [ "$rc" != "$want" ]; then
  echo "exit status $rc, expected $want"; cat "$err"; status=1
fi
rm -rf "$out" "$err" "$tmp"
exit $status
