#!/usr/bin/env bash
# Prints the size of the tests against the program they test: non-blank, non-comment lines
# of tests/ (fixtures and golden files are data) and of document/ hexctrl/ view/ app/ profile/ res/
# (without the toolbar images and the icon).
#   scripts/test-ratio.sh [ROOT]
set -euo pipefail

root=${1:-$(cd "$(dirname "$0")/.." && pwd)}

# Source files of a folder: C and C++, CMake, shell and Python; everything else is data.
sources() {
    find "$@" -type f \( -name '*.cpp' -o -name '*.c' -o -name '*.h' -o -name '*.in' \
        -o -name 'CMakeLists.txt' -o -name '*.cmake' -o -name '*.sh' -o -name '*.py' \) -print0
}

# Skips blank lines, // and # comment lines, /* */ blocks and the rows of XPM images.
count() {
    xargs -0 -r awk '
        FNR == 1 { block = 0; image = 0 }
        { line = $0; sub(/^[ \t]+/, "", line) }
        image { if (line ~ /^};/) image = 0; next }
        /_xpm\[\] *= *\{/ { image = 1; next }
        block { if (line ~ /\*\//) block = 0; next }
        line ~ /^\/\*/ { if (line !~ /\*\//) block = 1; next }
        line == "" || line ~ /^\/\// || line ~ /^#([^a-z]|$)/ { next }
        { n++ }
        END { print n + 0 }' | awk '{ s += $1 } END { print s + 0 }'
}

cd "$root"
tests=$(sources tests | count)
code=$(sources document hexctrl view app profile res | count)
awk -v t="$tests" -v c="$code" \
    'BEGIN { printf "tests %d lines, program %d lines: tests are %.1f %% of the program\n", t, c, 100 * t / c }'
