#!/usr/bin/env bash
# Runs the benchmarks (release build) and prints their tables and ratios.
#
#     scripts/bench.sh [BENCHMARK OPTIONS...]
#
# Options go to every benchmark executable (e.g. --benchmark_filter=Export).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build build/release -j"$(nproc)" >/dev/null
echo "machine: $(uname -m), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
for bench in build/release/bin/*_benchmark; do
  echo "== $(basename "$bench")"
  "$bench" "$@"
done
