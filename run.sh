#!/usr/bin/env bash
# Builds the program and starts it on the sample book (or on the book given as argument).
set -euo pipefail
book=""
if [ $# -gt 0 ]; then
  book="$(realpath -- "$1")"
fi
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target yorimo
exec ./build/src/app/yorimo "${book:-examples/sample.yrm}"
