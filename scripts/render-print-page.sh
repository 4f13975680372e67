#!/bin/sh
# Renders the first printed page of 2000 bytes (an A4 sheet, 6.35 mm margins) as the print
# preview draws it, which lays the page out as the printer does, into docs/printed-page.png:
# grey, 100 pixels per inch, with a thin frame where the sheet ends.
#   scripts/render-print-page.sh [BUILD_DIR]    (default: build)
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
. "$ROOT/scripts/deps.sh"
corvane_install_deps

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target view_tests
PNG="$ROOT/docs/printed-page.png"
CORVANE_PRINT_SAMPLE="$PNG" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$BUILD/tests/view/view_tests" --gtest_filter=PrintTest.PreviewFillsTheAreaInsideTheMargins \
    >/dev/null
convert "$PNG" -bordercolor "gray(160)" -border 1 -type Grayscale "$PNG"
echo "$PNG"
