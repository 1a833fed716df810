#!/usr/bin/env bash
# Makes the Debian package yorimo_<version>_<arch>.deb from a clean optimised build in
# build-package/, and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

rm -rf build-package
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYORIMO_TESTS=OFF -DYORIMO_BENCH=OFF
cmake --build build-package
(cd build-package && cpack -G DEB >/dev/null)
ls "$PWD"/build-package/yorimo_*.deb
