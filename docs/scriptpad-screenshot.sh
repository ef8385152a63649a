#!/bin/sh
# Makes docs/scriptpad.png (a program run with a plot window and its failing line marked)
# and docs/scriptpad-debug.png (gcd of the example unit in the run-function dialog).
# Needs xvfb, xdotool, imagemagick and a window manager (openbox).
# Usage: xvfb-run -a -s "-screen 0 1100x560x24" sh docs/scriptpad-screenshot.sh BUILD_DIR
set -e
BUILD=$(cd "${1:-build}" && pwd)
DOCS=$(cd "$(dirname "$0")" && pwd)
DATA=$(cd "$DOCS/../data/examples" && pwd)
WORK=$(mktemp -d)
cat > "$WORK/demo.txt" <<'PROGRAM'
print('squares and roots:')
for(i:=1:4)
print(i' squared is 'sqr(i)', its root is 'sqrt(i))
end
plot('sin(x)*x',x,h)
setwndtext(h,'sin(x)*x from the program')
z:=ln(0)
print('not reached')
PROGRAM
openbox >/dev/null 2>&1 &
WM=$!
sleep 1
cd "$WORK"
cp "$BUILD"/scriptpad/*.dat .
"$BUILD/scriptpad/scriptpad" demo.txt &
P=$!
sleep 2
E=$(xdotool search --name "Editor of Quor" | tail -1)
xdotool windowmove "$E" 10 10
sleep 0.5
xdotool mousemove 300 250 click 1
xdotool key F5
sleep 2
W=$(xdotool search --name "from the program" | tail -1)
xdotool windowmove "$W" 555 60
sleep 0.5
# The fault's box: dismissed.
xdotool key Return
sleep 1
import -window root "$DOCS/scriptpad.png"
kill $P
sleep 0.5

"$BUILD/scriptpad/scriptpad" "$DATA/util.txt" &
P=$!
sleep 2
E=$(xdotool search --name "Editor of Quor" | tail -1)
xdotool windowmove "$E" 10 10
sleep 0.5
# The function combo: "g" completes to gcd; F6 opens the dialog.
xdotool mousemove 470 68 click 1
xdotool key ctrl+a
xdotool type g
sleep 0.3
xdotool key F6
sleep 1.5
D=$(xdotool search --name "Running Function" | tail -1)
xdotool windowmove "$D" 380 150
sleep 0.5
xdotool mousemove 520 240 click 1
xdotool type 'a:=84;b:=36'
xdotool key F5
sleep 1
import -window root "$DOCS/scriptpad-debug.png"
kill $P
kill $WM
rm -rf "$WORK"
