#!/bin/sh
# plothelp-section.sh QUOR OUT: writes a help2man include file whose section "QUOR PLOT"
# holds `quor plot --help` as it stands (no filling), so that the man page covers both.
set -e
quor=$1
out=$2
tmp="$out.tmp"
{
  echo "[QUOR PLOT]"
  echo ".nf"
  # roff: backslashes doubled, a line starting with . or ' kept as text.
  "$quor" plot --help | sed -e 's/\\/\\\\/g' -e "s/^\([.']\)/\\\\\&\1/"
  echo ".fi"
} > "$tmp"
mv "$tmp" "$out"
