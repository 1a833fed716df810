#!/usr/bin/env bash
# Builds everything and runs every test: once optimised with warnings as errors, then
# once more as a debug build under AddressSanitizer and UndefinedBehaviorSanitizer (which
# also checks the book's invariants after every command of the window).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYORIMO_WERROR=ON
cmake --build build
ctest --test-dir build --output-on-failure -j2

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DYORIMO_WERROR=ON -DYORIMO_ASAN=ON -DYORIMO_BENCH=OFF
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j2
