#!/usr/bin/env bash
# Command 2: builds and runs every test: the normal build with warnings as
# errors, the same tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# a short run of each fuzzer over its seed corpus, and the Windows suite
# (mingw-w64 cross build, run under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh clang libclang-rt-14-dev xorriso fuseiso netpbm x11-utils at-spi2-core python3-pyatspi dbus
jobs=$(nproc)

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSETUP_WERROR=ON -DBENCH=ON >/dev/null
cmake --build build/test -j "$jobs"
(cd build/test && ctest --output-on-failure -j "$jobs")

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSETUP_WERROR=ON -DSETUP_SANITIZE=ON >/dev/null
cmake --build build/asan -j "$jobs"
(cd build/asan && ctest --output-on-failure -j "$jobs")

CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSETUP_FUZZ=ON \
  -DSETUP_TESTS=OFF -DSETUP_WERROR=ON >/dev/null
cmake --build build/fuzz -j "$jobs" --target memini_fuzz wildcard_fuzz plan_fuzz
for f in memini wildcard plan; do
  corpus=build/fuzz/corpus-$f
  mkdir -p "$corpus"
  [ -d fuzz/corpus/$f ] && cp -n fuzz/corpus/$f/* "$corpus"/ 2>/dev/null || true
  build/fuzz/fuzz/${f}_fuzz -max_total_time=20 -timeout=5 -max_len=65536 "$corpus" 2>build/fuzz/$f.log \
    || { tail -40 build/fuzz/$f.log; echo "fuzzer $f found a fault" >&2; exit 1; }
done
echo "fuzzers: no findings"

scripts/test-windows.sh
