#!/bin/sh
# Prints tests/data/print-20.hex (20 bytes at 0x100) through the view's printout
# into PostScript and renders it with Ghostscript as docs/print-page.png.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/deps.sh"
corvane_install_deps

cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$ROOT/build" --target view_tests
PS="$ROOT/build/print-page.ps"
CORVANE_PRINT_SAMPLE="$PS" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$ROOT/build/tests/view/view_tests" --gtest_filter=PrintTest.FixturePage >/dev/null
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pnggray -r100 -sOutputFile="$ROOT/docs/print-page.png" "$PS"
echo "$ROOT/docs/print-page.png"
