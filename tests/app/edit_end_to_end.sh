#!/bin/bash
# The real program under the display: a click into the dump, hex digits typed over the first
# bytes, which the window then shows, and a Save that still writes the image as read (edits
# stay in the dump).
# usage: edit_end_to_end.sh CORVANE FIXTURE.hex
set -u
exe=$1
fixture=$2
work=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

export XDG_CONFIG_HOME=$work/config
file=$work/$(basename "$fixture")
cp "$fixture" "$file"
# waits until the window's picture stops changing; keeps it as $1
settled() {
    for _ in $(seq 20); do
        sleep 0.5
        import -window "$wid" "$work/$1.png"
        cmp -s "$work/$1.png" "$work/last.png" && return 0
        cp "$work/$1.png" "$work/last.png"
    done
}

"$exe" "$file" &
pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name ' - Corvane$' | head -1)
[ -n "$wid" ] || fail "no main window"
eval "$(xdotool getwindowgeometry --shell "$wid")"
# the middle of the window lies in the dump, below the few lines of the first segment
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
xdotool key ctrl+Home
settled before
xdotool type --delay 100 "1234"
settled typed
cmp -s "$work/before.png" "$work/typed.png" && fail "typing did not change the dump"
cp "$work/typed.png" "${E2E_EDIT_SCREENSHOT:-edit_end_to_end.png}"

before=$(stat -c %Y.%s "$file")
sleep 1.1
xdotool key ctrl+s
for _ in $(seq 20); do
    [ "$(stat -c %Y.%s "$file")" != "$before" ] && break
    sleep 0.5
done
[ "$(stat -c %Y.%s "$file")" != "$before" ] || fail "Save wrote nothing"
srec_cmp "$fixture" -intel "$file" -intel || fail "the saved image differs from the one read"
echo "edit end to end: 1 passed, 0 failed"
