#!/bin/bash
# The real program under the display and a window manager: opens a file under a non-ASCII
# name with no locale in the environment, shows its name in the title, steps to the next
# segment, switches to 16-bit words, closes from its File menu, and leaves its placement,
# recent file and word length in the profile. Then starts maximized from a stored
# placement and reopens the file from the recent-file list, un-maximizes to the stored
# rectangle, starts again where it was (with a segment that needs a scroll bar), and keeps
# the placement when a start fails; no start prints GTK warnings.
# usage: end_to_end.sh CORVANE FIXTURE.hex FIND_TOOL.py
. "$(dirname "$0")/e2e_common.sh"
finder=$3
images=$(dirname "$finder")/../../res/ToolImages.h
openbox --sm-disable >/dev/null 2>&1 &
helper=$!
sleep 1
# waits up to 20 s until the named button is drawn enabled; prints its centre
button() {
    for _ in $(seq 40); do
        import -window root -depth 8 "ppm:$work/probe.ppm"
        python3 "$finder" "$work/probe.ppm" "$images" "$1" && return 0
        sleep 0.5
    done
    return 1
}
# quits from the File menu
quit() {
    xdotool windowfocus --sync "$wid" key alt+f sleep 1 key x
    ended "File > Exit"
}
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
title() { [ "$(xdotool getwindowname "$wid")" = "fïrmwäre copy.hex - Corvane" ] || fail "$1: title is '$(xdotool getwindowname "$wid")'"; }

start env -u LANG -u LC_ALL -u LC_CTYPE "$exe" "$file"
title "opened"
next=$(button nextsegment) || fail "next-segment button not shown enabled"
python3 "$finder" "$work/probe.ppm" "$images" prevsegment >/dev/null &&
    fail "previous-segment button enabled on the first segment"
xdotool mousemove $next click 1
button prevsegment >/dev/null || fail "previous-segment button still disabled after the click"
import -window "$wid" "${E2E_SCREENSHOT:-end_to_end.png}"
word16=$(button word16) || fail "16-bit button not found"
xdotool mousemove $word16 click 1 sleep 1
quit
[ "$(placement | wc -w)" -eq 5 ] || fail "no 44-byte placement saved"
grep -qx "file1=$file" "$profile" || fail "recent file not saved"
grep -qx "wordlen=2" "$profile" || fail "word length not saved"

# a stored maximized window over a normal rectangle; the file comes from the recent list
store 3 300 200 1000 700
start env LANG=C.UTF-8 "$exe"
maximized || fail "not started maximized"
xdotool windowfocus --sync "$wid" key alt+f sleep 1 key 1 sleep 2
title "recent file"
wmctrl -i -r "$wid" -b remove,maximized_vert,maximized_horz
sleep 1
maximized && fail "still maximized"
[ "$(within 300 200 1000 700)" = ok ] || fail "un-maximized to $(within 300 200 1000 700)"
quit
[ "$(placement)" = "1 300 200 1000 700" ] || fail "placement saved as $(placement)"

# the stored position, not the manager's choice; a segment longer than the window has a
# scroll bar to lay out
long=$work/long.hex
python3 -c "import sys; sys.stdout.write(''.join(':10%04X00%s%02X\\n' % (a, '00' * 16, -(16 + (a >> 8) + (a & 255)) & 255) for a in range(0, 4096, 16)) + ':00000001FF\\n')" >"$long"
store 1 140 120 840 620
start "$exe" "$long"
[ "$(within 140 120 840 620)" = ok ] || fail "started at $(within 140 120 840 620)"
quit

# a start that fails never shows its window and keeps the stored placement
store 3 300 200 1000 700
: >"$work/empty.hex"
timeout 30 "$exe" "$work/empty.hex" || true
[ "$(placement)" = "3 300 200 1000 700" ] || fail "failed start saved $(placement)"
# GTK has nothing to complain about at any of these starts
grep -m3 "Gtk-CRITICAL\|Gtk-WARNING" "$work/stderr" && fail "GTK warnings at start-up"
echo "end to end: 1 passed, 0 failed"
