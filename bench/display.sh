# Sourced by the GUI benchmarks: starts an Xvfb display of its own (number $display_number)
# with openbox on it, as people's desktops run the program, and makes a scratch folder
# $work for the profile. Both servers end and $work goes when the script exits.
work=$(mktemp -d)
Xvfb ":$display_number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wm=
trap 'kill $wm $xvfb 2>/dev/null; wait; rm -rf "$work"' EXIT
export DISPLAY=":$display_number" XDG_CONFIG_HOME="$work/config"
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
for _ in $(seq 50); do
    wmctrl -m >/dev/null 2>&1 && break
    sleep 0.1
done
