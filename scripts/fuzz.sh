#!/usr/bin/env bash
# Builds the reader's libFuzzer target with clang and runs it for a bounded time.
#   scripts/fuzz.sh [SECONDS]      default 60; exits non-zero when the fuzzer finds a fault
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCORVANE_GUI=OFF -DCORVANE_TESTS=OFF -DCORVANE_BENCH=ON -DCORVANE_FUZZ=ON \
        -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
fi
# a build made before the corpus generator joined it
grep -q hexgen "$build/build.ninja" || cmake -S "$root" -B "$build" -DCORVANE_BENCH=ON >/dev/null
ninja -C "$build" -j2 hex_reader_fuzzer hexgen

fuzzer=$build/fuzz/hex_reader_fuzzer
work=$build/fuzz-run
mkdir -p "$work/corpus" "$work/artifacts" "$work/long"

# Lines of megabytes are longer than -max_len, so they run once, whole, before fuzzing.
{
    printf ':FF000000'
    head -c 3000000 /dev/zero | tr '\0' 'A'
    printf '\r\n:0200000400FF'
    head -c 2000000 /dev/zero | tr '\0' '1'
    printf '\n:10000000'
    head -c 1000000 /dev/zero | tr '\0' ':'
} >"$work/long/megabyte-lines.hex"
# binary junk with NUL bytes and no line structure: the fuzzer binary itself
head -c 2000000 "$fuzzer" >"$work/long/binary-junk.bin"
# records whose ends pile up under a fixed hash, read record by record
"$build/bench/hex/hexgen" "$work/long" colliding >/dev/null
"$fuzzer" -artifact_prefix="$work/artifacts/" "$work/long"/*

# New inputs go to the work corpus; the seeds in the tree are only read.
"$fuzzer" "$work/corpus" "$root/fuzz/corpus" \
    -dict="$root/fuzz/hex.dict" \
    -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=2048 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1
