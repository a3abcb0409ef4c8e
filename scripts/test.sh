#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds, runs every test, then repeats the
# GUI-free tests under AddressSanitizer/UndefinedBehaviorSanitizer, checks the install and the
# Debian package, runs every fuzz target briefly, and compiles the Windows-only code with
# mingw-w64.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh test

jobs=$(nproc)
export CTEST_OUTPUT_ON_FAILURE=1

echo "== Build and test (RelWithDebInfo) =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORLIX_WERROR=ON \
    -DORLIX_TESTS=ON -DORLIX_BENCH=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build -j "$jobs" --timeout 600

echo "== Sanitizer build of the core (ASan + UBSan) =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORLIX_GUI=OFF -DORLIX_BENCH=OFF \
    -DORLIX_SANITIZE=ON -DORLIX_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan -j "$jobs" --timeout 900

echo "== Install and Debian package =="
bash scripts/package-check.sh build-package

echo "== Fuzzing the parsers (libFuzzer, clang) =="
bash scripts/fuzz.sh

echo "== Windows compile check (mingw-w64) =="
bash scripts/windows-check.sh

echo "All tests passed."
