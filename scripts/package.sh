#!/bin/sh
# Builds the Debian package from a release build and checks it as a distribution would:
# lintian (no error), the AppStream data, the desktop entry, the manual page, and the
# unpacked program's --version run with no display. Any failure ends the script non-zero.
#   scripts/package.sh [BUILD_DIR]    (default: build-release); prints the package's path
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build-release}
. "$ROOT/scripts/deps.sh"
corvane_install_deps

# Debian's own compiler and linker hardening, as every package of the distribution has it
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF \
    -DCORVANE_BENCH=OFF \
    -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$BUILD"
rm -f "$BUILD"/corvane_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
deb=$(ls "$BUILD"/corvane_*_amd64.deb)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# lintian's own exit status counts errors only; warnings are listed for the reader
lintian --info "$deb" >"$work/lintian" || { cat "$work/lintian" >&2; fail "lintian found errors"; }
cat "$work/lintian" >&2

dpkg-deb -x "$deb" "$work/root"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/"*.metainfo.xml >&2 ||
    fail "AppStream data"
desktop-file-validate "$work/root/usr/share/applications/corvane.desktop" ||
    fail "desktop entry"
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$work/root/usr/share/man/man1/corvane.1.gz" \
    >/dev/null 2>"$work/man"
[ ! -s "$work/man" ] || { cat "$work/man" >&2; fail "manual page warnings"; }

version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/root/usr/bin/corvane" --version) ||
    fail "unpacked corvane --version"
echo "$version" | head -1 | grep -q '^Corvane [0-9]*\.[0-9][0-9]' ||
    fail "unpacked corvane --version printed '$version'"
echo "$deb"
