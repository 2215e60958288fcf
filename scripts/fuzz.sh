#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UBSan, libFuzzer)
# in build/fuzz and runs each for a given time, one after the other.
#
#     scripts/fuzz.sh [--runs N] [--slow-ok] [SECONDS] [TARGET...]
#
# SECONDS per target (default 60); TARGETs among reader, import, export, ms3d,
# json (default: all five). --runs N stops each target after N executions
# instead (SECONDS then only bounds the time). Reports per target the
# executions, crashes (out-of-memory included), leaks, timeouts (a unit slower
# than 1 s) and slow units; findings land in build/fuzz/artifacts/<target>/
# (copy each into tests/fuzz/regressions/<target>/ with its fix). Exits 1 when
# anything was found.
#
# --slow-ok (the brief run of scripts/test.sh): a unit's time depends on the
# machine's load, so a unit slower than 1 s is reported as slow and does not
# fail the run; only one that hangs for 60 s counts as a timeout.
#
# Seeds: the sample files (examples/make_examples), files written by
# tests/fuzz/make_fuzz_seeds, and ../shared/corpus/ when present (read in
# place, never copied into the project). The growing corpus stays in
# build/fuzz/corpus/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

runs=""
slow_ok=0
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --slow-ok) slow_ok=1; shift ;;
    *) break ;;
  esac
done
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then targets=(reader import export ms3d json); fi

build=build/fuzz
# The import, export and .ms3d targets write a scratch file per input: keep
# those in memory when possible (rewriting a file on disk costs a flush each time).
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -gline-tables-only"
if [ ! -f $build/CMakeCache.txt ]; then
  cmake -S . -B $build -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DNIF_SANITIZE=OFF -DBUILD_TESTING=ON -DNIF_FUZZ=ON >/dev/null
else
  cmake $build >/dev/null  # picks up changes to the CMake files since the last run
fi

cmake --build $build -j"$(nproc)" --target make_examples make_fuzz_seeds "${targets[@]/#/fuzz_}" >/dev/null

seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds/nif" "$seeds/ms3d" "$seeds/model" "$seeds/json"
"$build/bin/make_examples" "$seeds/nif" >/dev/null
"$build/bin/make_fuzz_seeds" "$seeds" >/dev/null
shared=${NIF_SHARED_DIR:-$root/../shared}

# The number of findings of a kind (artifact name pattern) made since $start.
found() { find "$artifacts" -name "$1" -newermt "@$start" | wc -l; }

status=0
printf '%-8s %12s %8s %8s %8s %8s %8s\n' target executions seconds crashes leaks timeouts slow > $build/fuzz_report.txt
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  artifacts=$build/artifacts/$t
  mkdir -p "$corpus" "$artifacts"
  inputs=("$corpus")
  case $t in
    reader|import)
      inputs+=("$seeds/nif")
      [ -d "$shared/corpus/nif" ] && inputs+=("$shared/corpus/nif") ;;
    ms3d)
      inputs+=("$seeds/ms3d")
      [ -d "$shared/corpus/ms3d" ] && inputs+=("$shared/corpus/ms3d") ;;
    export)
      inputs+=("$seeds/model") ;;
    json)
      inputs+=("$seeds/json" tests/fuzz/regressions/json) ;;
  esac
  unit_timeout=1
  [ "$slow_ok" = 1 ] && unit_timeout=60
  options=(-max_total_time="$seconds" -timeout="$unit_timeout" -report_slow_units=1 -rss_limit_mb=2048 -max_len=65536
           -print_final_stats=1 -artifact_prefix="$artifacts/")
  [ -n "$runs" ] && options+=(-runs="$runs")
  [ "$t" = reader ] || [ "$t" = import ] && options+=(-dict=tests/fuzz/nif.dict)
  log=$build/fuzz_$t.log
  echo "fuzz_$t: ${runs:+$runs runs or }${seconds} s, log in $log"
  start=$(date +%s)
  "$build/bin/fuzz_$t" "${options[@]}" "${inputs[@]}" >"$log" 2>&1 || true
  elapsed=$(( $(date +%s) - start ))
  executions=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || true)
  if [ -z "$executions" ]; then
    executions=$(grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#' || true)
  fi
  crashes=$(( $(found 'crash-*') + $(found 'oom-*') ))
  leaks=$(found 'leak-*')
  timeouts=$(found 'timeout-*')
  slow=$(found 'slow-unit-*')
  if grep -q 'ERROR: libFuzzer\|ERROR: AddressSanitizer\|runtime error' "$log" && [ $((crashes + leaks + timeouts)) -eq 0 ]; then
    crashes=1
  fi
  printf '%-8s %12s %8s %8s %8s %8s %8s\n' "$t" "${executions:-0}" "$elapsed" "$crashes" "$leaks" "$timeouts" "$slow" >> $build/fuzz_report.txt
  if [ $((crashes + leaks + timeouts)) -ne 0 ]; then status=1; fi
  if [ "$slow" -ne 0 ]; then
    if [ "$slow_ok" = 1 ]; then
      echo "fuzz_$t: $slow unit(s) slower than 1 s (reported, not failed; the machine's load decides this): $artifacts/slow-unit-*"
    else
      status=1
    fi
  fi
done
cat $build/fuzz_report.txt
exit $status
