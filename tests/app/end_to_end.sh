#!/bin/bash
# The real program under the display and a window manager: opens a file under a non-ASCII
# name with no locale in the environment, shows its name in the title, steps to the next
# segment, switches to 16-bit words, closes from its File menu, and leaves its placement,
# recent file and word length in the profile. Then starts maximized from a stored
# placement and reopens the file from the recent-file list, un-maximizes to the stored
# rectangle, starts again where it was, and keeps the placement when a start fails.
# usage: end_to_end.sh CORVANE FIXTURE.hex FIND_TOOL.py
set -u
exe=$1
fixture=$2
finder=$3
images=$(dirname "$finder")/../../res/ToolImages.h
work=$(mktemp -d)
pid=
wm=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

export XDG_CONFIG_HOME=$work/config
mkdir -p "$work/my dir ü"
file="$work/my dir ü/fïrmwäre copy.hex"
cp "$fixture" "$file"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
shot() { import -window root -depth 8 "ppm:$work/$1.ppm"; }
# waits up to 20 s until the named button is drawn enabled; prints its centre
button() {
    for _ in $(seq 40); do
        shot probe
        python3 "$finder" "$work/probe.ppm" "$images" "$1" && return 0
        sleep 0.5
    done
    return 1
}

# other window tests may share the display, so only this program's own window counts
start() {
    "$@" &
    pid=$!
    wid=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name ' - Corvane$' | head -1)
    [ -n "$wid" ] || fail "no main window"
    sleep 1
}
# quits from the File menu and checks the exit status
quit() {
    xdotool windowfocus --sync "$wid"
    xdotool key alt+f
    sleep 1
    xdotool key x
    for _ in $(seq 40); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.5
    done
    kill -0 "$pid" 2>/dev/null && fail "the program did not end after File > Exit"
    wait "$pid"
    status=$?
    pid=
    [ "$status" -eq 0 ] || fail "exit status $status"
}
profile="$XDG_CONFIG_HOME/Mirel Software/Corvane.conf"
# the stored placement's show command and normal rectangle
placement() { sed -n 's/^Main-Place=//p' "$profile" | base64 -d | od -An -t d4 -w44 | awk '{print $3, $8, $9, $10, $11}'; }
maximized() { xprop -id "$wid" _NET_WM_STATE | grep -q MAXIMIZED_HORZ; }
# "ok" when the window's inside lies within the outer rectangle LEFT TOP RIGHT BOTTOM,
# less the manager's title bar and borders (under 40 pixels)
within() {
    xwininfo -id "$wid" | awk -v l="$1" -v t="$2" -v r="$3" -v b="$4" '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF }
        END { ok = x >= l && y >= t && x + w <= r && y + h <= b && x - l + r - x - w < 40 && y - t + b - y - h < 40
              print ok ? "ok" : x " " y " " x + w " " y + h }'
}

start env -u LANG -u LC_ALL -u LC_CTYPE "$exe" "$file"
title=$(xdotool getwindowname "$wid")
[ "$title" = "fïrmwäre copy.hex - Corvane" ] || fail "title is '$title'"

next=$(button nextsegment) || fail "next-segment button not shown enabled"
python3 "$finder" "$work/probe.ppm" "$images" prevsegment >/dev/null &&
    fail "previous-segment button enabled on the first segment"
shot before
xdotool mousemove $next click 1
button prevsegment >/dev/null || fail "previous-segment button still disabled after the click"
shot after
cmp -s "$work/before.ppm" "$work/after.ppm" && fail "the window did not change"
import -window "$wid" "${E2E_SCREENSHOT:-end_to_end.png}"

word16=$(button word16) || fail "16-bit button not found"
xdotool mousemove $word16 click 1
sleep 1

quit
[ -f "$profile" ] || fail "no profile written"
placement=$(sed -n 's/^Main-Place=//p' "$profile")
[ "$(printf '%s' "$placement" | base64 -d | wc -c)" -eq 44 ] || fail "placement is not 44 bytes"
grep -qx "file1=$file" "$profile" || fail "recent file not saved"
grep -qx "wordlen=2" "$profile" || fail "word length not saved"

# a stored maximized window over a normal rectangle; the file comes from the recent list
stored=$(printf '44 0 3 -1 -1 -1 -1 300 200 1000 700' | python3 -c "import struct,sys,base64;print(base64.b64encode(struct.pack('<11i',*map(int,sys.stdin.read().split()))).decode())")
sed -i "s|^Main-Place=.*|Main-Place=$stored|" "$profile"
start env LANG=C.UTF-8 "$exe"
maximized || fail "not started maximized"
xdotool windowfocus --sync "$wid"
xdotool key alt+f
sleep 1
xdotool key 1
sleep 2
title=$(xdotool getwindowname "$wid")
[ "$title" = "fïrmwäre copy.hex - Corvane" ] || fail "recent file not opened: title is '$title'"
wmctrl -i -r "$wid" -b remove,maximized_vert,maximized_horz
sleep 1
maximized && fail "still maximized"
[ "$(within 300 200 1000 700)" = ok ] || fail "un-maximized to $(within 300 200 1000 700)"
quit
[ "$(placement)" = "1 300 200 1000 700" ] || fail "placement saved as $(placement)"

# the stored position, not the manager's choice
sed -i "s|^Main-Place=.*|Main-Place=$(printf '44 0 1 -1 -1 -1 -1 140 120 840 620' | python3 -c "import struct,sys,base64;print(base64.b64encode(struct.pack('<11i',*map(int,sys.stdin.read().split()))).decode())")|" "$profile"
start "$exe" "$file"
[ "$(within 140 120 840 620)" = ok ] || fail "started at $(within 140 120 840 620)"
quit

# a start that fails never shows its window and keeps the stored placement
sed -i "s|^Main-Place=.*|Main-Place=$stored|" "$profile"
: >"$work/empty.hex"
timeout 30 "$exe" "$work/empty.hex" || true
[ "$(placement)" = "3 300 200 1000 700" ] || fail "failed start saved $(placement)"
echo "end to end: 1 passed, 0 failed"
