#!/bin/sh
# Builds and runs every test. With --sanitize the build uses AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan). Window tests run under Xvfb.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/deps.sh"
corvane_install_deps

BUILD="$ROOT/build"
FLAGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo"
if [ "$1" = "--sanitize" ]; then
    BUILD="$ROOT/build-asan"
    FLAGS="-DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON -DCORVANE_BENCH=OFF"
    shift
fi
# shellcheck disable=SC2086
cmake -S "$ROOT" -B "$BUILD" -G Ninja $FLAGS >/dev/null
cmake --build "$BUILD"

# The window tests need a display; each test gets its own profile folder. The server
# must not reset when its last client leaves: a test connecting meanwhile would be dropped.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
cd "$BUILD"
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest -j "$(nproc)" --output-on-failure "$@"
