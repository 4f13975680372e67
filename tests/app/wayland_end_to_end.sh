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
. "$(dirname "$0")/e2e_common.sh"
module=$3 scale=${4:-1}
skip() { echo "SKIP: $*"; exit 77; }

command -v weston >/dev/null && command -v weston-screenshooter >/dev/null ||
    skip "weston and weston-screenshooter are not installed"
# the compositor's socket in a private runtime folder, as a login session has one
export XDG_RUNTIME_DIR=$work/runtime WAYLAND_DISPLAY=corvane-e2e
mkdir -m 0700 "$XDG_RUNTIME_DIR" "$work/shots"
# no panel clock to change the picture between screenshots, no fading out when idle
printf '[shell]\npanel-position=none\nbackground-color=0xff404040\n' >"$work/weston.ini"
env -u DISPLAY -u WAYLAND_DISPLAY weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 \
    --scale="$scale" --socket="$WAYLAND_DISPLAY" --config="$work/weston.ini" --idle-time=0 \
    --debug --log="$work/weston.log" 2>>"$work/weston.stderr" &
helper=$!

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
    kill -0 "$helper" 2>/dev/null || break
    sleep 0.2
done
[ -f "$work/desktop.png" ] ||
    skip "weston did not start: $(cat "$work"/weston.* 2>/dev/null | grep -i -m3 'error\|fail')"

# waits up to 40 s for a line of the module that starts with TEXT
await() {
    for _ in $(seq 200); do
        grep -q "^$1" "$work/out" && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}
# the module takes a keys file whole once it is there
keys() {
    echo "$*" >"$work/keys.new" && mv "$work/keys.new" "$work/keys"
    await "sent $*" || fail "keys '$*' not typed"
}
# no X display to fall back on: GDK_BACKEND=wayland fails where Wayland is not there
start() {
    env -u DISPLAY GDK_BACKEND=wayland GTK_MODULES="$module" CORVANE_TEST_KEYS="$work/keys" \
        "$exe" "$file" >"$work/out" 2>>"$work/stderr" &
    pid=$!
    await "window " || fail "no main window: $(tail -3 "$work/stderr")"
    grep -qx "window wayland normal fïrmwäre copy.hex - Corvane" "$work/out" ||
        fail "not a Wayland window: $(head -1 "$work/out")"
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
keys ctrl+q
ended "Ctrl+Q"
[ "$(placement)" = "1 300 200 1000 700" ] || fail "placement saved as $(placement)"

# stored maximized: maximized again, and the normal rectangle kept; "close" as the title bar's
# close button does
store 3 300 200 1000 700
start
await "window wayland maximized" || fail "not maximized"
keys close
ended "closing the window"
[ "$(placement)" = "3 300 200 1000 700" ] || fail "maximized placement saved as $(placement)"
echo "wayland end to end: 1 passed, 0 failed"
