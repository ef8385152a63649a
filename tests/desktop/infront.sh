#!/bin/sh
# Windows in front, under a real X server and window manager (Xvfb and openbox): a plot
# window a program opens in scriptpad stays above the editor once the program's box is
# closed, and a newer one above it; paint's plot and result windows stay above its main
# window, also after "T" made that a stay-on-top window; the Debug procedure button is
# enabled again after a run from the menu on a text with function heads.
# Usage: infront.sh SCRIPTPAD PAINT DATADIR [SHOTDIR]. Exit 77 (skipped) without the tools.
scriptpad="$1"; paint="$2"; data="$3"; shots="${4:-}"
for tool in Xvfb openbox xdotool xprop xwininfo import convert compare; do
  command -v "$tool" > /dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
fail() { echo "FAIL: $*"; [ -n "$shots" ] && import -window root "$shots/infront-fail.png" 2>/dev/null; exit 1; }

tmp=$(mktemp -d)
pids=""
cleanup() {
  for p in $pids; do kill "$p" 2> /dev/null; done
  rm -rf "$tmp"
}
trap cleanup EXIT

# The programs keep their settings beside themselves: copies in a folder of their own, with
# the name tables in the working folder.
mkdir "$tmp/bin" "$tmp/work"
cp "$scriptpad" "$paint" "$tmp/bin/"
cp "$data"/*.dat "$tmp/work/"
cd "$tmp/work" || fail "cd"

# A display of its own (Xvfb picks a free number) and the window manager on it.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$tmp/display" 2> "$tmp/xvfb.log" &
pids="$!"
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { echo "SKIP: Xvfb did not start: $(cat "$tmp/xvfb.log")"; exit 77; }
DISPLAY=":$(cat "$tmp/display")"
export DISPLAY
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
openbox > "$tmp/openbox.log" 2>&1 &
pids="$! $pids"
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && break; sleep 0.1; done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"

# waitfor NAME: the id of the visible window so named (a whole-name pattern), within 15 s.
waitfor() {
  for _ in $(seq 150); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2> /dev/null | head -n 1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}
# gone NAME: waits until no visible window has the name.
gone() {
  for _ in $(seq 150); do
    [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2> /dev/null)" ] && return 0
    sleep 0.1
  done
  return 1
}
# closeboxes CAPTION: answers every box of that caption with Enter until none is left.
closeboxes() {
  for _ in $(seq 20); do
    b=$(xdotool search --onlyvisible --name "^$1\$" 2> /dev/null | head -n 1)
    if [ -z "$b" ]; then
      sleep 0.5   # the next box of the run, if any, shows within this
      [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2> /dev/null)" ] && return 0
      continue
    fi
    xdotool windowactivate --sync "$b" key Return
    sleep 0.3
  done
  return 1
}
# above A B: window A stands above window B in the window manager's stacking order.
stacking() { xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,/ /g'; }
position() {
  i=0
  for id in $(stacking); do
    i=$((i + 1))
    [ "$((id))" = "$(($1))" ] && { echo "$i"; return; }
  done
  echo 0
}
above() { [ "$(position "$1")" -gt "$(position "$2")" ] && [ "$(position "$2")" -gt 0 ]; }
# transientfor A: the window A is a transient of (decimal id, 0 when none).
transientfor() {
  t=$(xprop -id "$1" WM_TRANSIENT_FOR 2> /dev/null | sed -n 's/.*# //p')
  echo "$((${t:-0}))"
}
# silver X Y W H: the share of plot-background pixels (silver) in that part of the screen.
silver() {
  import -window root "$tmp/screen.png"
  convert "$tmp/screen.png" -crop "$3x$4+$1+$2" +repage -fill white -opaque '#C0C0C0' -fill black +opaque white \
    -format '%[fx:mean]' info:
}
# place WINDOW: sets X, Y, WIDTH and HEIGHT to the window's client area on the screen.
place() {
  info=$(xwininfo -id "$1")
  X=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p')
  Y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
  WIDTH=$(echo "$info" | sed -n 's/.*Width: *//p')
  HEIGHT=$(echo "$info" | sed -n 's/.*Height: *//p')
}
# toolbar WINDOW FILE: the tool bar left of the function list, as the screen shows it.
toolbar() {
  place "$1"
  import -window root -crop "300x40+$X+$((Y + 20))" +repage "$2"
}

# scriptpad: the program plots, then shows a box.
printf "plot('sin(x)',x,h)\nmsg('opened')\n" > plot.q
"$tmp/bin/scriptpad" plot.q > "$tmp/scriptpad.log" 2>&1 &
app=$!
pids="$app $pids"
editor=$(waitfor "Editor of Quor") || fail "no editor window"
xdotool windowactivate --sync "$editor" key F5
waitfor "Quor Editor" > /dev/null || fail "the program's box did not show"
plot1=$(waitfor "sin\(x\)") || fail "no plot window"
closeboxes "Quor Editor" || fail "the box stays"
sleep 0.5
[ "$(transientfor "$plot1")" = "$((editor))" ] || fail "the plot window is no transient of the editor"
above "$plot1" "$editor" || fail "the plot window is behind the editor: $(stacking)"
place "$plot1"
share=$(silver "$((X + 20))" "$((Y + 40))" "$((WIDTH - 40))" "$((HEIGHT - 60))")
awk -v s="$share" 'BEGIN { exit !(s > 0.8) }' || fail "the screen does not show the plot where it is ($share silver)"
[ -n "$shots" ] && import -window root "$shots/infront-scriptpad.png"
# A second run: its new plot window comes above the first one.
xdotool windowactivate --sync "$editor" key F5
waitfor "Quor Editor" > /dev/null || fail "the second box did not show"
closeboxes "Quor Editor" || fail "the second box stays"
sleep 0.5
plot2=$(xdotool search --onlyvisible --name '^sin\(x\)$' | grep -v "^$plot1\$" | head -n 1)
[ -n "$plot2" ] || fail "no second plot window"
above "$plot2" "$plot1" || fail "the new plot window is not in front: $(stacking)"
above "$plot1" "$editor" || fail "the first plot window went behind the editor"
kill "$app"
wait "$app" 2> /dev/null
gone "Editor of Quor" || fail "scriptpad did not end"

# scriptpad: Debug procedure from the menu (F5) on a text with function heads leaves the
# tool button enabled, as it is for a text without heads.
printf 'a:=1\n' > plain.q
printf 'function y=f(x)\ny:=x\nendfunction\n' > heads.q
for text in plain heads; do
  "$tmp/bin/scriptpad" "$text.q" > "$tmp/scriptpad.log" 2>&1 &
  app=$!
  pids="$app $pids"
  editor=$(waitfor "Editor of Quor") || fail "no editor window for $text"
  xdotool mousemove 0 0
  sleep 0.5
  toolbar "$editor" "$tmp/$text-before.png"
  xdotool windowactivate --sync "$editor" key F5
  sleep 0.5
  closeboxes "Quor Editor" || fail "boxes of the $text run stay"
  sleep 0.3
  toolbar "$editor" "$tmp/$text-after.png"
  kill "$app"
  wait "$app" 2> /dev/null
  gone "Editor of Quor" || fail "scriptpad did not end"
done
differ() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" != 0 ]; }
differ "$tmp/plain-before.png" "$tmp/heads-before.png" || fail "the heads do not disable the button"
differ "$tmp/heads-before.png" "$tmp/heads-after.png" || fail "the button stays disabled after the run"
differ "$tmp/plain-after.png" "$tmp/heads-after.png" && fail "the tool bar differs from an enabled one after the run"

# paint: the result window (res_btn) and a plot window (typed expression and Enter) stay
# above the main window when that is activated, and after "T" made it stay on top.
"$tmp/bin/paint" > "$tmp/paint.log" 2>&1 &
app=$!
pids="$app $pids"
main=$(waitfor "Rozez of Quor") || fail "no paint window"
place "$main"
mx=$X
my=$Y
xdotool mousemove "$((mx + 50))" "$((my + 50))" click 1
result=$(waitfor resultform) || fail "no result window"
xdotool mousemove "$((mx + 200))" "$((my + 20))" click 1
xdotool type 'sin(x)'
xdotool key Return
plot=$(waitfor "sin\(x\)") || fail "no paint plot window"
xdotool windowmove "$plot" 0 0   # the main window's buttons in sight
sleep 0.3
for step in "activated" "on top" "on top, activated"; do
  case $step in
    "on top") xdotool mousemove "$((mx + 28))" "$((my + 16))" click 1; sleep 0.8 ;;
    *) xdotool windowactivate --sync "$(waitfor "Rozez of Quor")"; sleep 0.3 ;;
  esac
  main=$(waitfor "Rozez of Quor")
  above "$result" "$main" || fail "$step: the result window is behind the main window: $(stacking)"
  above "$plot" "$main" || fail "$step: the plot window is behind the main window: $(stacking)"
  [ "$(transientfor "$result")" = "$((main))" ] || fail "$step: the result window is no transient of the main window"
  [ "$(transientfor "$plot")" = "$((main))" ] || fail "$step: the plot window is no transient of the main window"
done
xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "T did not make the main window stay on top"
[ -n "$shots" ] && import -window root "$shots/infront-paint.png"
echo "windows in front: all checks passed"
