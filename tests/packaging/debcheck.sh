#!/bin/sh
# The Debian package: built from the build tree, unpacked with dpkg-deb into a temporary
# folder, its files in their places, and its programs started from there, finding their
# data and the plotting module relative to themselves.
# debcheck.sh CPACK CPACKCONFIG VERSION
cpack="$1"; config="$2"; version="$3"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

arch=$(dpkg --print-architecture) || fail "no dpkg architecture"
"$cpack" -G DEB --config "$config" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; fail "cpack"; }
deb="$tmp/out/quor_${version}_${arch}.deb"
[ -f "$deb" ] || { ls "$tmp/out"; fail "no $deb"; }

# The control fields: dependencies worked out from the binaries, not empty.
dpkg-deb -f "$deb" Package Version Architecture Section Priority Depends >"$tmp/control"
grep -qx "Package: quor" "$tmp/control" || fail "package name"
grep -qx "Version: $version" "$tmp/control" || fail "version"
grep -qx "Section: math" "$tmp/control" || fail "section"
grep -q "^Depends: .*libc6" "$tmp/control" || fail "no libc6 dependency: $(cat "$tmp/control")"
grep -q "^Depends: .*libqt6widgets6" "$tmp/control" || fail "no Qt Widgets dependency"

root="$tmp/root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
for f in usr/bin/quor usr/bin/scriptpad usr/bin/paint \
         usr/share/quor/math.dat usr/share/quor/command.dat usr/share/quor/api.dat \
         usr/share/quor/strings.dat usr/share/quor/face.bmp usr/share/quor/examples/tour.txt \
         usr/share/man/man1/quor.1.gz usr/share/man/man1/scriptpad.1.gz usr/share/man/man1/paint.1.gz \
         usr/share/applications/scriptpad.desktop usr/share/applications/quor-paint.desktop \
         usr/share/metainfo/org.example.quor.scriptpad.metainfo.xml \
         usr/share/metainfo/org.example.quor.paint.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/scriptpad.svg \
         usr/share/icons/hicolor/16x16/apps/quor-paint.png \
         usr/share/icons/hicolor/256x256/apps/scriptpad.png \
         usr/share/doc/quor/copyright usr/share/doc/quor/changelog.gz; do
  [ -s "$root/$f" ] || fail "missing $f"
done
# The plotting module in a private folder of the multiarch library folder (no ldconfig).
module=$(cd "$root" && ls usr/lib/*/quor/libquorplots.so 2>/dev/null)
[ -n "$module" ] || fail "no plotting module under usr/lib/*/quor"
dpkg-deb -I "$deb" | grep -q ldconfig && fail "maintainer scripts call ldconfig"
# Programs stripped, nothing owned by a user other than root, no file writable by others.
file "$root/usr/bin/quor" | grep -q ", stripped" || fail "quor not stripped"
dpkg-deb -c "$deb" | awk '$2 != "root/root" || $1 ~ /w.$/ {print; bad=1} END {exit bad}' || fail "owners or modes"

desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "desktop entries"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >"$tmp/as.log" 2>&1 \
  || { cat "$tmp/as.log"; fail "metainfo"; }

# Run from an empty folder, so that nothing is found in the current directory.
mkdir "$tmp/cwd" && cd "$tmp/cwd" || fail "cd"
bin="$root/usr/bin"
out=$("$bin/quor" -e 'print(1+2)') || fail "quor -e exit $?"
[ "$out" = 3 ] || fail "quor -e printed '$out'"
# A built-in from the name tables: found in ../share/quor beside the program.
out=$("$bin/quor" -e 'print(sqrt(16))') || fail "quor -e sqrt exit $?"
[ "$out" = 4 ] || fail "sqrt printed '$out'"
"$bin/quor" plot 'x' -o x.png || fail "quor plot"
head -c 8 x.png | od -An -c | grep -q 'P   N   G' || fail "not a PNG"
QT_QPA_PLATFORM=offscreen "$bin/scriptpad" --help >help.txt 2>&1 || fail "scriptpad --help"
grep -q "^usage: scriptpad" help.txt || fail "scriptpad help: $(cat help.txt)"
QT_QPA_PLATFORM=offscreen "$bin/paint" --help >help.txt 2>&1 || fail "paint --help"
grep -q "^usage: paint" help.txt || fail "paint help: $(cat help.txt)"
QT_QPA_PLATFORM=offscreen "$bin/paint" --version >version.txt 2>&1 || fail "paint --version"
grep -qx "paint $version" version.txt || fail "paint version: $(cat version.txt)"
[ -z "$(ls -A "$tmp/cwd" | grep -v -e '^x.png$' -e '^help.txt$' -e '^version.txt$')" ] || fail "stray files: $(ls -A)"
echo "ok: $(basename "$deb")"
