#!/bin/sh
# Installs into a scratch prefix and asks the desktop's MIME tools, as a file manager
# does, what a HEX file is and which program opens it; the installed program answers
# --version and --help with no display.
# usage: mime_install.sh BUILD_DIR SAMPLE.hex
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
unset DESTDIR
cmake --install "$1" --prefix "$work/usr" >/dev/null || fail "install failed"
# the base types alone, not what other programs on this machine claim
mkdir -p "$work/base/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$work/base/mime/packages"
update-mime-database "$work/base/mime"
export XDG_DATA_HOME="$work/usr/share" XDG_DATA_DIRS="$work/base" XDG_CONFIG_HOME="$work/config"
type=$(xdg-mime query filetype "$2")
[ "$type" = text/x-ihex ] || fail "$2 is '$type'"
# by content alone: a first record names the type, other text does not
cp "$2" "$work/image.dat"
printf ':zz is no record\n' >"$work/notes.dat"
[ "$(xdg-mime query filetype "$work/image.dat")" = text/x-ihex ] || fail "record not recognised"
[ "$(xdg-mime query filetype "$work/notes.dat")" = text/plain ] || fail "other text claimed"
# by name alone: every name the Open dialog lists
for ext in ihx ihex h86; do
    echo notes >"$work/notes.$ext"
    [ "$(xdg-mime query filetype "$work/notes.$ext")" = text/x-ihex ] || fail "*.$ext not claimed"
done
# KDE's MIME data names *.hex text/x-hex: the entry claims that name too
for type in text/x-ihex text/x-hex; do
    app=$(xdg-mime query default "$type")
    [ "$app" = corvane.desktop ] || fail "default application for $type is '$app'"
done
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/usr/bin/corvane" --version) || fail "--version"
[ "$(echo "$out" | head -1)" = "Corvane 0.82 (build 100)" ] || fail "--version printed '$out'"
env -u DISPLAY -u WAYLAND_DISPLAY "$work/usr/bin/corvane" -h | grep -q -- '--version' || fail "-h"
echo "mime install: 1 passed, 0 failed"
