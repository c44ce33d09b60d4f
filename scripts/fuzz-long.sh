#!/usr/bin/env bash
# A long fuzzing run (not part of CI): each fuzzer of the list under
# AddressSanitizer and UndefinedBehaviorSanitizer for RUNS inputs, in
# parallel, starting from the seed corpus; prints runs, seconds and inputs a
# second of each, and the first finding if there is one.
#
#   scripts/fuzz-long.sh [RUNS] [FUZZER ...]     default: 10000000 plan memini
#
# FUZZ_TIMEOUT (seconds, default 5) is the time one input may take: on a
# machine busy with builds a niced fuzzer can wait that long for the CPU, so
# raise it there (an input that truly hangs still exceeds it).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10000000}
shift || true
if [ $# -gt 0 ]; then fuzzers=("$@"); else fuzzers=(plan memini); fi
scripts/deps.sh clang libclang-rt-14-dev
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSETUP_FUZZ=ON \
  -DSETUP_TESTS=OFF -DSETUP_WERROR=ON >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target "${fuzzers[@]/%/_fuzz}"
out=build/fuzzlong
mkdir -p "$out"
for f in "${fuzzers[@]}"; do
  mkdir -p "$out/corpus-$f"
  [ -d "fuzz/corpus/$f" ] && cp -n "fuzz/corpus/$f"/* "$out/corpus-$f"/ 2>/dev/null || true
  (
    start=$(date +%s)
    rc=0
    build/fuzz/fuzz/${f}_fuzz -runs="$runs" -timeout="${FUZZ_TIMEOUT:-5}" -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="$out/$f-" "$out/corpus-$f" >"$out/$f.log" 2>&1 || rc=$?
    end=$(date +%s)
    done=$(grep -oE '^stat::number_of_executed_units: *[0-9]+' "$out/$f.log" | grep -oE '[0-9]+$' || echo "?")
    echo "$f: exit $rc, $done runs in $((end - start)) s"
  ) &
done
wait
