#!/bin/sh
# Makes docs/paint.png: paint under a virtual display with a plot, the result window and a
# memo line. Needs xvfb, xdotool, imagemagick and a window manager (openbox).
# Usage: xvfb-run -a -s "-screen 0 1100x460x24" sh docs/paint-screenshot.sh BUILD_DIR
set -e
BUILD=$(cd "${1:-build}" && pwd)
OUT=$(cd "$(dirname "$0")" && pwd)/paint.png
openbox >/dev/null 2>&1 &
WM=$!
sleep 1
cd "$BUILD/paint"
rm -f vivevazed.ini
./paint &
P=$!
sleep 2
M=$(xdotool search --name "Rozez of Quor" | tail -1)
xdotool windowmove "$M" 20 20
R=$(xdotool search --name "resultform" | tail -1 || true)
# The result window: its button, then under the main window.
xdotool mousemove $((20 + 51)) $((20 + 51)) click 1
sleep 1
R=$(xdotool search --name "resultform" | tail -1)
xdotool windowmove "$R" 20 86
xdotool mousemove $((20 + 246)) $((20 + 21)) click 1
xdotool type --delay 30 'sin(x'
xdotool key Return
sleep 1
xdotool key Return
sleep 0.5
xdotool key ctrl+a BackSpace
xdotool type --delay 30 'sin(x)*x'
xdotool key Return
sleep 2
W=$(xdotool search --name "sin\(x\)\*x" | tail -1)
xdotool windowmove "$W" 500 20
sleep 1
import -window root "$OUT"
kill $P
kill $WM
