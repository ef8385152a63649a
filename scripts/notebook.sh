#!/bin/sh
# Registers the build tree's quor-kernel for this user and opens the tour notebook:
# scripts/notebook.sh BUILDDIR [NOTEBOOK]
build="${1:-build}"
notebook="${2:-docs/notebooks/tour.ipynb}"
kspec="$build/kernel/jupyter/kernels/quor"
if [ ! -x "$build/kernel/quor-kernel" ] || [ ! -f "$kspec/kernel.json" ]; then
  echo "notebook: $build/kernel/quor-kernel was not built: xeus was not found when the build was"
  echo "configured (sh scripts/setup.sh installs xeus-dev, nlohmann-json3-dev and cppzmq-dev; then run make notebook again)"
  exit 1
fi
if ! command -v jupyter >/dev/null 2>&1 || ! jupyter notebook --version >/dev/null 2>&1; then
  echo "notebook: the notebook server is missing (sh scripts/setup.sh installs jupyter-notebook)"
  exit 1
fi
jupyter kernelspec install --user --name quor "$kspec" || exit 1
echo "notebook: the kernel \"Quor\" now runs $(cd "$build/kernel" && pwd)/quor-kernel; starting the notebook server"
# The server refuses to run as root unless told to (containers often run as root).
root=""
[ "$(id -u)" -eq 0 ] && root="--allow-root"
exec jupyter notebook $root "$notebook"
