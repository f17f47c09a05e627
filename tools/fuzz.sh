#!/usr/bin/env bash
# Builds the libFuzzer target of the byte-level code with clang and runs it:
#   bash tools/fuzz.sh [seconds]      (default 30)
# The corpus grows in build/fuzz/corpus, seeded from bench/fuzz-seeds and
# the demo library; a crash leaves its input in build/fuzz/ and makes the
# script fail.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd -P)
seconds=${1:-30}
if [ ! -f build/fuzz/build.ninja ]; then
  cmake -G Ninja -S "$root" -B build/fuzz -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DZORIVEN_FUZZ=ON
fi
ninja -C build/fuzz fuzz_bytes
mkdir -p build/fuzz/corpus
if [ -z "$(ls -A build/fuzz/corpus)" ]; then
  # The kept seeds: the smallest set that reached every edge of the long runs.
  cp bench/fuzz-seeds/* build/fuzz/corpus/ 2>/dev/null || true
  find demo -type f -name '*.txt' -exec cp {} build/fuzz/corpus/ \; 2>/dev/null || true
fi
echo "fuzz.sh: fuzzing for ${seconds}s"
cd build/fuzz
./fuzz_bytes -max_total_time="$seconds" -max_len=16384 -print_final_stats=1 corpus 2>&1 | tail -n 15
