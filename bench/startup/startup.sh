#!/bin/sh
# Time from exec to the first painted dump and the peak resident memory of the program,
# over RUNS runs on a display of its own, for each file named.
# usage: [DISPLAY_NUMBER=118] bench/startup/startup.sh CORVANE RUNS FILE...
set -eu
exe=$1
runs=$2
shift 2
work=$(mktemp -d)
display=:${DISPLAY_NUMBER:-118}
Xvfb $display -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb; wait $xvfb; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display XDG_CONFIG_HOME="$work/config" CORVANE_BENCH_FIRST_PAINT=1
for file in "$@"; do
    : >"$work/ms"
    : >"$work/kb"
    for _ in $(seq "$runs"); do
        start=$(date +%s%6N)
        painted=$(/usr/bin/time -f %M -o "$work/rss" "$exe" "$file" 2>/dev/null | sed -n 's/^first-paint-us //p')
        [ -n "$painted" ] || { echo "no paint for $file"; exit 1; }
        echo $(((painted - start) / 1000)) >>"$work/ms"
        cat "$work/rss" >>"$work/kb"
    done
    sort -n "$work/ms" | awk -v f="$(basename "$file")" -v size="$(stat -c %s "$file")" '
        { t[NR] = $1; s += $1 }
        END { printf "%s (%d bytes): first paint median %d ms, min %d, max %d, mean %.0f over %d runs\n",
                     f, size, t[int((NR + 1) / 2)], t[1], t[NR], s / NR, NR }'
    sort -n "$work/kb" | tail -1 | awk '{ printf "  peak RSS %.1f MiB\n", $1 / 1024 }'
done
