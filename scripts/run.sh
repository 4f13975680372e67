#!/bin/sh
# Builds the editor and starts it on the sample firmware image (or on the files given).
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/deps.sh"
corvane_install_deps

cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$ROOT/build"
[ $# -eq 0 ] && set -- "$ROOT/samples/firmware.hex"
exec "$ROOT/build/app/corvane" "$@"
