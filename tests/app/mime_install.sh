#!/bin/sh
# Installs into a scratch prefix and asks the desktop's MIME tools, as a file manager
# does, what a HEX file is and which program opens it.
# usage: mime_install.sh BUILD_DIR SAMPLE.hex
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
unset DESTDIR
cmake --install "$1" --prefix "$work/usr" >/dev/null || fail "install failed"
export XDG_DATA_HOME="$work/usr/share" XDG_DATA_DIRS=/usr/share XDG_CONFIG_HOME="$work/config"
type=$(xdg-mime query filetype "$2")
[ "$type" = text/x-ihex ] || fail "$2 is '$type'"
# by content alone: a first record names the type, other text does not
cp "$2" "$work/image.dat"
printf ':zz is no record\n' >"$work/notes.dat"
[ "$(xdg-mime query filetype "$work/image.dat")" = text/x-ihex ] || fail "record not recognised"
[ "$(xdg-mime query filetype "$work/notes.dat")" = text/plain ] || fail "other text claimed"
app=$(xdg-mime query default text/x-ihex)
[ "$app" = corvane.desktop ] || fail "default application is '$app'"
echo "mime install: 1 passed, 0 failed"
