#!/bin/sh
# Makes docs/notebook.png: the tour notebook, run by the build tree's kernel, open in the
# notebook server and photographed by Debian's chromium without a display.
# Needs chromium (apt-get install chromium). Usage: sh docs/notebook-screenshot.sh BUILD_DIR
set -e
BUILD=$(cd "${1:-build}" && pwd)
DOCS=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
trap 'kill $SERVER 2>/dev/null; rm -rf "$WORK"' EXIT
export HOME="$WORK/home" JUPYTER_PATH="$BUILD/kernel/jupyter" JUPYTER_PLATFORM_DIRS=1
mkdir -p "$HOME"
# The tour with its outputs, as a user sees it after Run All.
/usr/bin/python3 - "$DOCS/notebooks/tour.ipynb" "$WORK/tour.ipynb" <<'PY'
import sys, nbformat
from nbclient import NotebookClient
nb = nbformat.read(sys.argv[1], as_version=4)
NotebookClient(nb, kernel_name="quor", timeout=60).execute()
nbformat.write(nb, sys.argv[2])
PY
root=""
[ "$(id -u)" -eq 0 ] && root="--allow-root"
jupyter notebook $root --no-browser --port=8931 --NotebookApp.token=shot --notebook-dir="$WORK" \
  >"$WORK/server.log" 2>&1 &
SERVER=$!
sleep 4
chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
  --disable-component-update --disable-sync --user-data-dir="$WORK/chromium" --hide-scrollbars \
  --window-size=1000,2700 --virtual-time-budget=15000 --screenshot="$DOCS/notebook.png" \
  "http://127.0.0.1:8931/notebooks/tour.ipynb?token=shot" >/dev/null 2>&1
echo "wrote $DOCS/notebook.png"
