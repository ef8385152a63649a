#!/bin/sh
# Runs the fuzz targets of a fuzz build: first every fixed input under
# tests/fuzz/regressions/TARGET (each must run clean), then SECONDS of fuzzing per target
# from the seeds in tests/fuzz/corpus/TARGET plus what earlier runs kept in
# BUILD/corpus/TARGET (new entries go there). Crashes are kept in BUILD/crashes.
# Usage: fuzz.sh BUILD SECONDS [TARGET...]
set -e
# With clang 14 and Debian 12's glibc, LeakSanitizer's handling of dynamic TLS sometimes dies
# at exit ("Tracer caught signal 11"): the runtime's fault, not ours. Its TLS interception is
# turned off, keeping any options already given.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_tls_get_addr=0"
export ASAN_OPTIONS
build="$1"; seconds="$2"; shift 2
here=$(cd "$(dirname "$0")/.." && pwd)
targets="${*:-program expression unit nametable data profile}"
# An input runs well under a second; the timeout leaves room for a loaded machine.
opts="-rss_limit_mb=2048 -timeout=60 -print_final_stats=1"
mkdir -p "$build/crashes"
log="$build/fuzz-log.txt"
status=0
for t in $targets; do
  bin="$build/tests/fuzz/fuzz_$t"
  [ -x "$bin" ] || { echo "fuzz: no $bin (build it first)" >&2; exit 1; }
  fixed=$(find "$here/tests/fuzz/regressions/$t" -type f 2>/dev/null | sort)
  if [ -n "$fixed" ]; then
    # shellcheck disable=SC2086
    if ! "$bin" $opts $fixed > "$build/crashes/$t-replay.log" 2>&1 < /dev/null; then
      echo "fuzz: $t: a fixed input fails again:"; tail -40 "$build/crashes/$t-replay.log"; status=1; continue
    fi
  fi
  mkdir -p "$build/corpus/$t"
  if "$bin" $opts -max_total_time="$seconds" -artifact_prefix="$build/crashes/$t-" \
       "$build/corpus/$t" "$here/tests/fuzz/corpus/$t" > "$build/crashes/$t.log" 2>&1 < /dev/null; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/crashes/$t.log")
    echo "fuzz: $t: $runs runs in ${seconds} s, no crash"
    echo "$(date -u +%FT%TZ) $t runs=$runs seconds=$seconds crashes=0" >> "$log"
  else
    echo "fuzz: $t failed; see $build/crashes/$t.log"; tail -40 "$build/crashes/$t.log"; status=1
  fi
done
exit $status
