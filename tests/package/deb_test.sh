#!/usr/bin/env bash
# The Debian package as a user gets it: cpack makes it from a Release build with the desktop
# program, dpkg-deb unpacks it into an empty folder, and the unpacked command line solves the
# example with the unpacked data files, nothing of the build or the source tree in reach.
# usage: deb_test.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
ok() { passed=$((passed + 1)); }
bad() { failed=$((failed + 1)); echo "FAIL $*"; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; echo "0 passed, 1 failed"; exit 1; }
version=$(sed -nE 's/^set\(CPACK_PACKAGE_VERSION "([^"]+)"\)/\1/p' "$build/CPackConfig.cmake")
deb="$work/out/pluvane_${version}_amd64.deb"
[ -f "$deb" ] && ok || bad "no $deb: $(ls "$work/out")"
dpkg-deb -I "$deb" >"$work/info" 2>&1
grep -q '^ Package: pluvane$' "$work/info" && grep -q '^ Depends: .*libqt6' "$work/info" && ok ||
  bad "control: $(cat "$work/info")"

root="$work/root"
mkdir "$root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/pluvane usr/bin/pluvane-cli usr/lib/pluvane/pluvane usr/lib/pluvane/pluvane-cli \
  usr/lib/pluvane/pluvane-pdf usr/lib/pluvane/empty.mdb usr/lib/pluvane/intensity.mdb \
  usr/lib/pluvane/guide/index.html usr/share/applications/pluvane.desktop \
  usr/share/mime/packages/pluvane.xml usr/share/icons/hicolor/scalable/apps/pluvane.svg; do
  [ -e "$root/$f" ] && ok || bad "missing $f"
done
grep -q 'glob pattern="\*.rmt"' "$root/usr/share/mime/packages/pluvane.xml" && ok || bad "no .rmt type"
grep -q '^MimeType=application/x-pluvane-project;' "$root/usr/share/applications/pluvane.desktop" && ok ||
  bad "the launcher does not open .rmt files"

# The unpacked program finds its data beside itself; no settings of the user's lead it elsewhere.
export XDG_CONFIG_HOME="$work/config"
cp "$build/examples/willow-creek.rmt" "$work/example.rmt"
cli="$root/usr/bin/pluvane-cli"
if "$cli" solve "$work/example.rmt" --text "$work/report.txt" --json >"$work/results.json" 2>"$work/err"; then
  grep -q '^Q(cfs)' "$work/report.txt" && grep -q '"solved": true' "$work/results.json" && ok ||
    bad "the report or the results are not whole: $(head -c 400 "$work/results.json")"
else
  bad "the unpacked command line could not solve the example: $(cat "$work/err")"
fi
"$cli" locations list | grep -qx Atlanta && ok || bad "the unpacked rainfall database has no Atlanta"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
