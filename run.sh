#!/usr/bin/env bash
# Builds the program and starts it on the sample book (or on the book given as argument).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
exec ./build/src/yorimo-cli list "${1:-examples/sample.yrm}"
