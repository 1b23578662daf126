#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Tovik and runs every test: the tests of the normal build, the Debian package
# (installed as root and removed again), all tests again under the address and
# undefined-behaviour sanitizers, and each fuzzer for a short while
# (TOVIK_FUZZ_SECONDS, 20 by default).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
summary=()
passed=0
failed=0

run_ctest() {
    local dir=$1 log
    log=$(mktemp)
    (cd "$dir" && ctest --output-on-failure -j"$jobs") 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    local line total bad
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
    summary+=("$dir: $line")
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    rm -f "$log"
    return "$status"
}

echo "== build"
cmake -S . -B build -G Ninja -DTOVIK_WERROR=ON -DTOVIK_BUILD_BENCH=ON
cmake --build build -j"$jobs"
echo "== tests"
run_ctest build

echo "== Debian package: built, installed, started from / under Xvfb, removed"
timeout 1200 bash tests/packaging/deb_test.sh build
summary+=("build: the Debian package test passed")
passed=$((passed + 1))

echo "== tests under address and undefined-behaviour sanitizers"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVIK_WERROR=ON -DTOVIK_SANITIZE=ON -DTOVIK_WITH_GUI=ON
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_ctest build-sanitize

echo "== fuzzers"
bash scripts/fuzz.sh "${TOVIK_FUZZ_SECONDS:-20}"

echo "== summary"
printf '%s\n' "${summary[@]}"
echo "tests: $passed passed, $failed failed"
