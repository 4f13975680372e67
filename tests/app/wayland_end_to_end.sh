#!/bin/bash
# The real program under Weston's headless compositor, with no X display: it opens a file and
# draws its dump, hex digits typed into the dump change the picture, Ctrl+S writes the image
# as read (edits stay in the dump), Ctrl+Q or closing the window ends it. It comes back at its
# stored size, and maximized when stored so, and its stored position outlives the (0, 0) that
# Wayland reports.
# The compositor has no keyboard: keys come from the GTK module KEYS_MODULE through GDK.
# SCALE 2 makes a desktop scaled to 200 %. Exits with 77 (skipped) only when the compositor
# cannot start here.
# usage: wayland_end_to_end.sh CORVANE FIXTURE.hex KEYS_MODULE.so [SCALE]
set -u
exe=$1 fixture=$2 module=$3 scale=${4:-1}
work=$(mktemp -d)
pid= weston=
trap '[ -n "$pid" ] && kill "$pid"; [ -n "$weston" ] && kill "$weston" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }

command -v weston >/dev/null && command -v weston-screenshooter >/dev/null ||
    skip "weston and weston-screenshooter are not installed"
# the compositor's socket in a private runtime folder, as a login session has one
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR" "$work/shots"
# no panel clock to change the picture between screenshots, no fading out when idle
printf '[shell]\npanel-position=none\nbackground-color=0xff404040\n' >"$work/weston.ini"
socket=corvane-e2e
env -u DISPLAY -u WAYLAND_DISPLAY weston --backend=headless-backend.so --use-pixman \
    --width=1024 --height=768 --scale="$scale" --socket=$socket --config="$work/weston.ini" \
    --idle-time=0 --debug --log="$work/weston.log" 2>>"$work/weston.stderr" &
weston=$!
export WAYLAND_DISPLAY=$socket

# the whole screen as the compositor draws it, into NAME.png
shot() {
    rm -f "$work"/shots/*
    (cd "$work/shots" && timeout 10 weston-screenshooter) >/dev/null 2>&1 &&
        mv "$work"/shots/*.png "$work/$1.png" 2>/dev/null
}
# the number of pixels that differ between two screenshots
differing() { compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 | awk '{ print int($1) }'; }

# the debug option lets the screenshooter in; a compositor that never shows its background
# cannot start
for _ in $(seq 50); do
    shot desktop && [ "$(convert "$work/desktop.png" -format '%[hex:p{0,0}]' info:)" = 404040 ] &&
        break
    rm -f "$work/desktop.png"
    kill -0 "$weston" 2>/dev/null || break
    sleep 0.2
done
[ -f "$work/desktop.png" ] ||
    skip "weston did not start: $(cat "$work"/weston.* 2>/dev/null | grep -i -m3 'error\|fail')"

export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/gtk-3.0" "$XDG_CONFIG_HOME/Mirel Software"
# a caret that does not blink, so that equal pictures compare equal
printf '[Settings]\ngtk-cursor-blink=false\n' >"$XDG_CONFIG_HOME/gtk-3.0/settings.ini"
profile="$XDG_CONFIG_HOME/Mirel Software/Corvane.conf"
# a profile with only a placement: show command, normal rectangle
store() {
    printf '[WindowPlacement]\nMain-Place=%s\n' "$(python3 -c "import struct,base64;print(base64.b64encode(struct.pack('<11i',44,0,$1,-1,-1,-1,-1,$2,$3,$4,$5)).decode())")" >"$profile"
}
placement() { sed -n 's/^Main-Place=//p' "$profile" | base64 -d | od -An -t d4 -w44 | awk '{print $3, $8, $9, $10, $11}'; }
file=$work/view-three.hex
cp "$fixture" "$file"

# waits up to 20 s for a line of the module that starts with TEXT
await() {
    for _ in $(seq 100); do
        grep -q "^$1" "$work/out" && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}
keys() { echo "$*" >>"$work/keys"; await "sent $*" || fail "keys '$*' not typed"; }
# no X display to fall back on: GDK_BACKEND=wayland fails where Wayland is not there
start() {
    : >"$work/keys"
    env -u DISPLAY GDK_BACKEND=wayland GTK_MODULES="$module" CORVANE_TEST_KEYS="$work/keys" \
        "$exe" "$file" >"$work/out" 2>>"$work/stderr" &
    pid=$!
    await "window " || fail "no main window: $(tail -3 "$work/stderr")"
    grep -qx "window wayland normal view-three.hex - Corvane" "$work/out" ||
        fail "not a Wayland window: $(head -1 "$work/out")"
}
# ends the program with the keys given; "close" as the title bar's close button does
quit() {
    keys "$1"
    timeout 20 tail --pid="$pid" -f /dev/null || fail "the program did not end after $1"
    wait "$pid" || fail "exit status $?"
    pid=
}

store 1 300 200 1000 700
start
sleep 1
shot before || fail "no screenshot"
[ "$(differing desktop before)" -gt 100000 ] || fail "the window was not drawn"
keys 1 2 3 4
sleep 1
shot typed || fail "no screenshot"
cp "$work/typed.png" "${E2E_WAYLAND_SCREENSHOT:-wayland_end_to_end_x$scale.png}"
# four digits and their characters, not the whole window
changed=$(differing before typed)
[ "$changed" -gt 0 ] || fail "typing changed nothing"
[ "$changed" -lt $((5000 * scale * scale)) ] || fail "typing changed $changed pixels"

saved=$(stat -c %Y "$file")
sleep 1.1
keys ctrl+s
sleep 2
[ "$(stat -c %Y "$file")" != "$saved" ] || fail "Save wrote nothing"
srec_cmp "$fixture" -intel "$file" -intel || fail "the saved image differs from the one read"
quit ctrl+q
[ "$(placement)" = "1 300 200 1000 700" ] || fail "placement saved as $(placement)"

# stored maximized: maximized again, and the normal rectangle kept
store 3 300 200 1000 700
start
await "window wayland maximized" || fail "not maximized"
quit close
[ "$(placement)" = "3 300 200 1000 700" ] || fail "maximized placement saved as $(placement)"
echo "wayland end to end: 1 passed, 0 failed"
