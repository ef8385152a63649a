#!/bin/sh
# Installs the Debian packages the build and the tests need, when missing (clang and
# libclang-rt-14-dev, which carries libFuzzer, for the fuzz build); arguments name more
# packages (the benchmarks' peers). openbox, xdotool, imagemagick and x11-utils serve the
# windows-in-front check under Xvfb.
set -e
PKGS="g++ cmake ninja-build make libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev qt6-svg-dev fonts-dejavu-core fonts-wqy-microhei xvfb xauth clang libclang-rt-14-dev help2man openbox xdotool imagemagick x11-utils $*"
# To build the Debian package and check it (`make deb`, and a test of `make test`).
PKGS="$PKGS dpkg-dev file lintian desktop-file-utils appstream"
# The notebook kernel and its tests.
PKGS="$PKGS xeus-dev nlohmann-json3-dev cppzmq-dev python3-jupyter-client jupyter-client python3-nbclient python3-ipykernel python3-pil jupyter-notebook"
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "setup: installing$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
