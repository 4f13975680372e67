#!/bin/sh
# The program with large images, under Xvfb and a window manager: time to the first painted
# dump and peak resident memory for the 64 MiB dense corpus file (bench/startup/startup.sh),
# then, in one process (guibench), segment steps forward and back through a file of 500,000
# segments and scroll-thumb drags to the end of a 256 MiB segment and back.
# usage: [DISPLAY_NUMBER=119] bench/gui/gui.sh [BUILD_DIR [CORPUS_DIR]]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
corpus=${2:-/tmp/corvane-corpus}
number=${DISPLAY_NUMBER:-119}
mkdir -p "$corpus"
[ -f "$corpus/dense.hex" ] || "$build/bench/hex/hexgen" "$corpus" dense >&2
segments=$corpus/segments500k.hex
if [ ! -f "$segments" ]; then
    # 500,000 records of 16 bytes, each followed by a gap of 16 bytes: one segment each
    python3 - "$segments.tmp" <<'EOF'
import sys
lines, page = [], -1
for i in range(500000):
    addr = i * 32
    if addr >> 16 != page:
        page = addr >> 16
        rec = bytes([2, 0, 0, 4, page >> 8, page & 255])
        lines.append(":%s%02X\n" % (rec.hex().upper(), -sum(rec) & 255))
    rec = bytes([16, addr >> 8 & 255, addr & 255, 0]) + bytes((i + k) & 255 for k in range(16))
    lines.append(":%s%02X\n" % (rec.hex().upper(), -sum(rec) & 255))
lines.append(":00000001FF\n")
open(sys.argv[1], "w").write("".join(lines))
EOF
    mv "$segments.tmp" "$segments"
fi

DISPLAY_NUMBER=$((number + 1)) "$root/bench/startup/startup.sh" "$build/app/corvane" 3 "$corpus/dense.hex"

display_number=$number
. "$root/bench/display.sh"
echo "$(basename "$segments"), one process (load average $(cut -d' ' -f1-3 /proc/loadavg)):"
"$build/bench/gui/guibench" "$segments" 2000 | sed 's/^/  /'
