#!/bin/sh
# Time from exec to the first painted dump, the processor time to that point and the peak
# resident memory of the program, over RUNS runs on a display of its own with a window
# manager (openbox), as people start it, for each file named.
# usage: [DISPLAY_NUMBER=118] bench/startup/startup.sh CORVANE RUNS FILE...
set -eu
exe=$1
runs=$2
shift 2
display_number=${DISPLAY_NUMBER:-118}
. "$(dirname "$0")/../display.sh"
export CORVANE_BENCH_FIRST_PAINT=1
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
for file in "$@"; do
    : >"$work/ms"
    : >"$work/cpu"
    : >"$work/kb"
    for _ in $(seq "$runs"); do
        start=$(date +%s%6N)
        painted=$(/usr/bin/time -f "%M %U %S" -o "$work/time" "$exe" "$file" 2>"$work/stderr" |
            sed -n 's/^first-paint-us //p')
        [ -n "$painted" ] || { echo "no paint for $file"; cat "$work/stderr"; exit 1; }
        echo $(((painted - start) / 1000)) >>"$work/ms"
        tail -1 "$work/time" | awk -v kb="$work/kb" '{ print $1 >>kb; printf "%d\n", ($2 + $3) * 1000 }' >>"$work/cpu"
        ! grep -m1 "Gtk-" "$work/stderr" || echo "  (GTK warning above)"
    done
    summary() {
        sort -n "$1" | awk '{ t[NR] = $1; s += $1 }
            END { printf "median %d ms, min %d, max %d, mean %.0f", t[int((NR + 1) / 2)], t[1], t[NR], s / NR }'
    }
    echo "$(basename "$file") ($(stat -c %s "$file") bytes), $runs runs:"
    echo "  first paint $(summary "$work/ms")"
    echo "  processor time (user + system, to the end) $(summary "$work/cpu")"
    sort -n "$work/kb" | tail -1 | awk '{ printf "  peak RSS %.1f MiB\n", $1 / 1024 }'
done
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
