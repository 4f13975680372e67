#!/bin/bash
# The real program under the display: hex digits typed over the first bytes without a click
# first, which the window then shows; the frame's edit accelerators change nothing while
# Delete reaches the dump; a Save still writes the image as read (edits stay in the dump), to
# a file whose name is not ASCII, with no locale in the environment; Ctrl+Q in the character
# column ends the program.
# usage: edit_end_to_end.sh CORVANE FIXTURE.hex
. "$(dirname "$0")/e2e_common.sh"
start env -u LANG -u LC_ALL -u LC_CTYPE "$exe" "$file"
eval "$(xdotool getwindowgeometry --shell "$wid")"
shot() { xdotool sleep 1; import -window "$wid" "$work/$1.png"; }
same() { cmp -s "$work/$1.png" "$work/$2.png"; }
# with no window manager the keys go to the window under the pointer; the dump has them at once
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) sleep 1 key ctrl+Home
shot before
xdotool type --delay 100 "12Ab"
shot typed
same before typed && fail "typing changed nothing"
cp "$work/typed.png" "${E2E_EDIT_SCREENSHOT:-edit_end_to_end.png}"
xdotool key shift+Delete ctrl+Insert shift+Insert alt+BackSpace ctrl+c ctrl+x ctrl+v ctrl+z
shot accelerators
same typed accelerators || fail "an edit accelerator reached the dump"
xdotool key Delete
shot deleted
same typed deleted && fail "Delete did not reach the dump"

saved=$(stat -c %Y "$file")
xdotool sleep 1.1 key ctrl+s sleep 2
[ "$(stat -c %Y "$file")" != "$saved" ] || fail "Save wrote nothing"
srec_cmp "$fixture" -intel "$file" -intel || fail "the saved image differs from the one read"
xdotool key Tab ctrl+q
ended "Ctrl+Q"
echo "edit end to end: 1 passed, 0 failed"
