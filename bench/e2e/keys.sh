#!/bin/sh
# Processor time per key, as a user pays it: real key events sent through the X server
# (xdotool) to the running program on a display of its own with a window manager, for one
# segment of each size. For each program it prints, per key, the program's and the X
# server's processor time per press (all threads, from /proc/PID/task/*/schedstat), and the
# peak resident memory with the segment shown, before and after the first edit.
# Debian's ghex and okteta, when installed, get the same keys on the same bytes (a .bin);
# every window is sized 1000 x 760 first.
# usage: [SIZES="1 64 256"] [PRESSES=40] [DISPLAY_NUMBER=121] [PEERS="ghex okteta"] \
#        bench/e2e/keys.sh [LABEL=]CORVANE...
set -eu
sizes=${SIZES:-1 64 256}
presses=${PRESSES:-40}
corpus=${CORPUS:-/tmp/corvane-corpus}
display_number=${DISPLAY_NUMBER:-121}
[ $# -gt 0 ] || { echo "usage: $0 [LABEL=]CORVANE..." >&2; exit 2; }
. "$(dirname "$0")/../display.sh"
mkdir -p "$corpus"
# carets that do not blink: a blink repaints, and the idle rate subtracted from every figure
# would carry its noise
for gtk in gtk-3.0 gtk-4.0; do
    mkdir -p "$XDG_CONFIG_HOME/$gtk"
    printf '[Settings]\ngtk-cursor-blink=false\n' >"$XDG_CONFIG_HOME/$gtk/settings.ini"
done

# One segment of SIZE MiB at address 0, as Intel HEX (32-byte records) and as raw bytes.
make_files() {
    [ -f "$corpus/seg$1m.hex" ] && [ -f "$corpus/seg$1m.bin" ] && return
    python3 - "$1" "$corpus/seg$1m" <<'EOF'
import sys
size, base = int(sys.argv[1]) << 20, sys.argv[2]
block = bytes((i * 7 + (i >> 9)) & 255 for i in range(1 << 16))
with open(base + ".bin.tmp", "wb") as raw, open(base + ".hex.tmp", "w") as hexf:
    for page in range(size >> 16):
        raw.write(block)
        rec = bytes([2, 0, 0, 4, page >> 8, page & 255])
        out = [":%s%02X\n" % (rec.hex().upper(), -sum(rec) & 255)]
        for off in range(0, 1 << 16, 32):
            rec = bytes([32, off >> 8, off & 255, 0]) + block[off:off + 32]
            out.append(":%s%02X\n" % (rec.hex().upper(), -sum(rec) & 255))
        hexf.write("".join(out))
    hexf.write(":00000001FF\n")
EOF
    mv "$corpus/seg$1m.bin.tmp" "$corpus/seg$1m.bin"
    mv "$corpus/seg$1m.hex.tmp" "$corpus/seg$1m.hex"
}

# Nanoseconds on the processor of every thread of process $1.
cpu_ns() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'
}

now_ns() {
    date +%s%N
}

# Waits (at most $2 seconds) until process $1 is back at its idle rate: two windows of
# 0.6 s in a row each using no more than twice the idle rate ($idle ns per s, which a
# blinking caret keeps above 0) plus 1 ms.
settle() {
    quiet=0 tries=$(($2 * 10 / 6)) last=$(cpu_ns "$1")
    limit=$((idle * 12 / 10 + 1000000))
    while [ "$tries" -gt 0 ] && [ "$quiet" -lt 2 ]; do
        sleep 0.6
        now=$(cpu_ns "$1")
        if [ $((now - last)) -le "$limit" ]; then quiet=$((quiet + 1)); else quiet=0; fi
        last=$now tries=$((tries - 1))
    done
}

# The idle rate of process $1 over 3 s, in ns per s.
idle_rate() {
    c0=$(cpu_ns "$1") t0=$(now_ns)
    sleep 3
    echo $((($(cpu_ns "$1") - c0) * 1000000000 / ($(now_ns) - t0)))
}

peak_mib() {
    awk '/^VmHWM/ { printf "%.0f", $2 / 1024 }' /proc/"$1"/status
}

# Sends KEYS (one xdotool key list) and prints the program's and the server's processor
# time per key, in ms; the last word of the line is the label.
measure() {
    pid=$1 label=$2
    shift 2
    settle "$pid" 30
    p0=$(cpu_ns "$pid") x0=$(cpu_ns "$xvfb") t0=$(now_ns)
    for keys in "$@"; do
        # shellcheck disable=SC2086
        xdotool key --delay 50 $keys
        settle "$pid" 60
    done
    p1=$(cpu_ns "$pid") x1=$(cpu_ns "$xvfb") t1=$(now_ns)
    n=$(echo "$*" | wc -w)
    # less what the program and the server spend idle over the same time
    awk -v p=$((p1 - p0)) -v x=$((x1 - x0)) -v n="$n" -v l="$label" -v t=$((t1 - t0)) \
        -v ip="$idle" -v ix="$xidle" 'BEGIN { p -= ip * t / 1e9; x -= ix * t / 1e9
        printf "    %-14s %8.2f ms + %6.2f ms in the X server\n", l, p / n / 1e6, x / n / 1e6 }'
}

repeat() {
    i=0
    while [ "$i" -lt "$presses" ]; do printf '%s ' "$1"; i=$((i + 1)); done
}

pairs() {
    i=0
    while [ "$i" -lt $((presses / 4)) ]; do printf '%s %s ' "$1" "$2"; i=$((i + 1)); done
}

run_one() {
    label=$1 file=$2
    shift 2
    start=$(date +%s%3N)
    "$@" "$file" >"$work/out" 2>&1 &
    pid=$!
    xdotool search --sync --onlyvisible --pid "$pid" >/dev/null 2>&1 || true
    idle=4000000
    settle "$pid" 120
    shown=$(($(date +%s%3N) - start - 1200))
    win=$(xdotool search --onlyvisible --pid "$pid" | tail -1)
    # the same size for every program, so that each paints the same area
    xdotool windowsize --sync "$win" 1000 760 windowactivate --sync "$win" >/dev/null 2>&1 || true
    idle=$(idle_rate "$pid") xidle=$(idle_rate "$xvfb")
    echo "  $label: shown after $shown ms, peak RSS $(peak_mib "$pid") MiB;" \
        "idle $((idle / 1000)) us/s + $((xidle / 1000)) us/s in the X server"
    measure "$pid" Right "$(repeat Right)"
    measure "$pid" Page_Down "$(repeat Next)"
    # each jump alone, with the scroll bar's animation it starts
    # shellcheck disable=SC2046
    measure "$pid" ctrl+End/Home $(pairs ctrl+End ctrl+Home)
    measure "$pid" digit "$(repeat 5)"
    echo "    peak RSS after the first edit $(peak_mib "$pid") MiB"
    measure "$pid" Insert "$(repeat Insert)"
    measure "$pid" Delete "$(repeat Delete)"
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
}

echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg); $presses presses per key"
for size in $sizes; do
    make_files "$size"
    echo "one segment of $size MiB:"
    for program in "$@"; do
        label=${program%%=*}
        [ "$label" != "$program" ] || label=corvane
        run_one "$label" "$corpus/seg${size}m.hex" "${program#*=}"
    done
    for peer in ${PEERS-ghex okteta}; do
        command -v "$peer" >/dev/null || continue
        # GTK 4 draws with cairo here as on GTK 3: the X server has no GPU to draw with
        GSK_RENDERER=cairo run_one "$peer" "$corpus/seg${size}m.bin" "$peer"
    done
done
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
