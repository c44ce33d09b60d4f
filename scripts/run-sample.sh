#!/usr/bin/env bash
# Command 1: builds the program and runs it on the bundled sample medium.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSETUP_TESTS=OFF >/dev/null
cmake --build build/release
build/release/tools/setupinf/setupinf show examples/medium
build/release/tools/setupinf/setupinf check examples/medium
