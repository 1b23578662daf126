#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang and runs each for SECONDS (default 20).
# Usage: scripts/fuzz.sh [SECONDS]
# Corpora grow in build-fuzz/corpus/<fuzzer>; crash inputs land in build-fuzz/crashes.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
# Absolute: the command-line fuzzer works in a folder of its own.
build="$PWD/build-fuzz"

formats=(gpx kml kmz csv geojson)
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DTOVIK_WITH_QT=ON -DTOVIK_WITH_GUI=OFF -DTOVIK_BUILD_TESTS=OFF \
    -DTOVIK_BUILD_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"

rm -rf "$build/seeds"
"$build/fuzz/make_seeds" "$build/seeds"
# Qt keeps some allocations until the process ends; the seed maker is no fuzzer.
ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/make_exchange_seeds" "$build/seeds"
mkdir -p "$build/crashes"

failed=0
run() {
    local name=$1 seeds=$2 max_len=$3
    local corpus="$build/corpus/$name" log="$build/$name.log"
    mkdir -p "$corpus"
    cp "$build/seeds/$seeds"/* "$corpus"/
    local status=0
    "$build/fuzz/$name" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/crashes/$name-" "$corpus" >"$log" 2>&1 || status=$?
    local runs
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
    if [ "$status" -eq 0 ]; then
        echo "$name: ok, $runs runs in ${seconds}s, corpus $(ls "$corpus" | wc -l) files"
    else
        echo "$name: FAILED (exit $status), see $log and $build/crashes/"
        failed=1
    fi
}

run fuzz_image image 12000
run fuzz_parsers parsers 64
run fuzz_cli cli 512
for format in "${formats[@]}"; do
    run "fuzz_$format" "$format" 20000
done
# Past the 1 MiB from which a GPX file is read in two halves.
run fuzz_gpx_halves gpx-halves 2200000
exit "$failed"
