#!/usr/bin/env bash
# Peak memory of loading a file must stay below 3 x the file's size + 16 MB;
# for the generated geometry file, below its size + 16 MB (the reader keeps
# the file's bytes once and views its arrays in place).
#
#     scripts/memory_check.sh
#
# Measured without the sanitizers: the release build's `mshost check FILE`
# under /usr/bin/time -v (maximum resident set size of the whole process).
# Files: the sample files, a generated geometry-heavy file of about 100 MB and
# a generated file of 100,000 of the smallest node blocks (both written by
# load_benchmark), and the five largest files of
# ../shared/corpus/nif when present. Prints one line per file; exits 1 when
# any file goes over its bound.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

cmake --preset release >/dev/null
cmake --build build/release -j"$(nproc)" --target mshost make_examples load_benchmark >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/release/bin/make_examples "$work" >/dev/null
build/release/bin/load_benchmark --write-heavy-nif "$work/heavy_geometry.nif"
build/release/bin/load_benchmark --write-node-chain "$work/small_node_chain.nif"
files=("$work"/*.nif)
shared=${NIF_SHARED_DIR:-$root/../shared}
if [ -d "$shared/corpus/nif" ]; then
  while IFS= read -r f; do files+=("$f"); done < <(ls -S "$shared"/corpus/nif/*.nif | head -5)
fi

status=0
printf '%-40s %12s %12s %12s %s\n' file bytes peak_kb limit_kb result
for f in "${files[@]}"; do
  size=$(stat -c %s "$f")
  limit_kb=$(( (3 * size + 16 * 1024 * 1024) / 1024 ))
  if [ "$(basename "$f")" = heavy_geometry.nif ]; then limit_kb=$(( (size + 16 * 1024 * 1024) / 1024 )); fi
  /usr/bin/time -v -o "$work/time.txt" build/release/bin/mshost check "$f" >/dev/null 2>&1 || true
  peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
  result=ok
  if [ "$peak_kb" -ge "$limit_kb" ]; then result=OVER; status=1; fi
  printf '%-40s %12s %12s %12s %s\n' "$(basename "$f")" "$size" "$peak_kb" "$limit_kb" "$result"
done
exit $status
