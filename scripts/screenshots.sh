#!/bin/sh
# Takes every picture README.md and the AppStream data show, from the real program under Xvfb
# with a window manager, into docs/: the main window (light, dark, desktop at 200 %), 16-bit
# words in both byte orders, the About box, and a printed page.
#   scripts/screenshots.sh [BUILD_DIR]    (default: build)
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
DOCS=$ROOT/docs
if [ -z "${CORVANE_SHOTS_UNDER_X:-}" ]; then
    . "$ROOT/scripts/deps.sh"
    corvane_install_deps
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD" --target corvane
    CORVANE_SHOTS_UNDER_X=1 xvfb-run -a -s "-screen 0 2560x1600x24 -noreset" "$0" "$BUILD"
    "$ROOT/scripts/render-print-page.sh" "$BUILD" >/dev/null
    ls -l "$DOCS"
    exit 0
fi

work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; kill "$wm" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
profile="$XDG_CONFIG_HOME/Mirel Software/Corvane.conf"
mkdir -p "$XDG_CONFIG_HOME/gtk-3.0" "$XDG_CONFIG_HOME/Mirel Software"
# a caret that does not blink is always drawn
printf '[Settings]\ngtk-cursor-blink=false\n' >"$XDG_CONFIG_HOME/gtk-3.0/settings.ini"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1

# starts the program on the sample with the word length and byte order given (and the
# environment after them); sets wid
start() {
    printf '[view]\nwordlen=%s\nbyteorder=%s\n' "$1" "$2" >"$profile"
    shift 2
    env "$@" "$BUILD/app/corvane" "$ROOT/samples/firmware.hex" 2>/dev/null &
    pid=$!
    wid=$(timeout 30 xdotool search --all --sync --onlyvisible --pid "$pid" --name ' - Corvane$' | head -1)
    [ -n "$wid" ] || { echo "no main window" >&2; exit 1; }
    # the caret is placed by a click, then moved to show the caret pane's word address
    xdotool sleep 1 mousemove --window "$wid" 150 140 click 1 sleep 0.2 key Right Right Down
    sleep 1
}
stop() {
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
}
shot() { import -window "$1" -strip "$2"; }

start 1 1
shot "$wid" "$DOCS/main-window.png"
stop
start 1 1 GTK_THEME=Adwaita:dark
shot "$wid" "$DOCS/main-window-dark.png"
stop
start 1 1 GDK_SCALE=2
shot "$wid" "$DOCS/main-window-2x.png"
stop

# toolbar, the first lines of the dump and the status bar, for each byte order
for order in 1 0; do
    start 2 "$order"
    shot "$wid" "$work/order$order.png"
    height=$(identify -format %h "$work/order$order.png")
    convert "$work/order$order.png" \( -clone 0 -crop x150+0+0 \) \
        \( -clone 0 -crop "x28+0+$((height - 28))" \) -delete 0 +repage -append \
        "$work/part$order.png"
    stop
done
convert "$work/part1.png" -size 1x12 xc:"gray(160)" "$work/part0.png" -gravity center \
    -append -strip "$DOCS/word-lengths.png"

start 1 1
xdotool windowfocus --sync "$wid" key alt+h sleep 1 key a
about=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^About Corvane$' |
    head -1)
[ -n "$about" ] || { echo "no About box" >&2; exit 1; }
sleep 1
shot "$about" "$DOCS/about-box.png"
stop
