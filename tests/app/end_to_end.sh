#!/bin/bash
# The real program under the display: opens a file, shows its name in the title, steps
# to the next segment, switches to 16-bit words, closes from its File menu, and leaves
# its placement, recent file and word length in the profile.
# usage: end_to_end.sh CORVANE FIXTURE.hex FIND_TOOL.py
set -u
exe=$1
fixture=$2
finder=$3
images=$(dirname "$finder")/../../res/ToolImages.h
work=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

export XDG_CONFIG_HOME=$work/config
file=$work/$(basename "$fixture")
cp "$fixture" "$file"
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

"$exe" "$file" &
pid=$!
# other window tests may share the display, so only this program's own window counts
wid=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name ' - Corvane$' | head -1)
[ -n "$wid" ] || fail "no main window"
title=$(xdotool getwindowname "$wid")
[ "$title" = "$(basename "$fixture") - Corvane" ] || fail "title is '$title'"

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

profile="$XDG_CONFIG_HOME/Mirel Software/Corvane.conf"
[ -f "$profile" ] || fail "no profile written"
placement=$(sed -n 's/^Main-Place=//p' "$profile")
[ "$(printf '%s' "$placement" | base64 -d | wc -c)" -eq 44 ] || fail "placement is not 44 bytes"
grep -qx "file1=$file" "$profile" || fail "recent file not saved"
grep -qx "wordlen=2" "$profile" || fail "word length not saved"
echo "end to end: 1 passed, 0 failed"
