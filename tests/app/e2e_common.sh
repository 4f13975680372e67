# What the end-to-end scripts share, sourced with their arguments CORVANE FIXTURE.hex: a scratch
# folder and profile removed at the end, the fixture copied under a non-ASCII name, a caret that
# does not blink (so that equal pictures compare equal), the stored window placement, the start
# under X and the program's end. HELPER is a process (window manager, compositor) to end too.
set -u
exe=$1 fixture=$2
work=$(mktemp -d)
pid= helper=
trap '[ -n "$pid" ] && kill "$pid"; [ -n "$helper" ] && kill "$helper" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

export XDG_CONFIG_HOME=$work/config
profile="$XDG_CONFIG_HOME/Mirel Software/Corvane.conf"
mkdir -p "$work/my dir ü" "$XDG_CONFIG_HOME/gtk-3.0" "$XDG_CONFIG_HOME/Mirel Software"
printf '[Settings]\ngtk-cursor-blink=false\n' >"$XDG_CONFIG_HOME/gtk-3.0/settings.ini"
file="$work/my dir ü/fïrmwäre copy.hex"
cp "$fixture" "$file"

# stores a placement: show command, normal rectangle
store() {
    set -- "$(python3 -c "import struct,base64;print(base64.b64encode(struct.pack('<11i',44,0,$1,-1,-1,-1,-1,$2,$3,$4,$5)).decode())")"
    if grep -qs '^Main-Place=' "$profile"; then sed -i "s|^Main-Place=.*|Main-Place=$1|" "$profile"
    else printf '[WindowPlacement]\nMain-Place=%s\n' "$1" >>"$profile"; fi
}
placement() { sed -n 's/^Main-Place=//p' "$profile" | base64 -d | od -An -t d4 -w44 | awk '{print $3, $8, $9, $10, $11}'; }
# other window tests may share the X display, so only this program's own window counts
start() {
    "$@" 2>>"$work/stderr" &
    pid=$!
    wid=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name ' - Corvane$' | head -1)
    [ -n "$wid" ] || fail "no main window"
    sleep 1
}
# waits for the program to end after the named action and checks its exit status
ended() {
    timeout 20 tail --pid="$pid" -f /dev/null || fail "the program did not end after $1"
    wait "$pid" || fail "exit status $?"
    pid=
}
