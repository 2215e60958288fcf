#!/usr/bin/env bash
# Runs every test: the native unit tests under the sanitizers (with the replay
# of the kept fuzz inputs), each fuzz target briefly, the memory tests (release
# preset, no sanitizers), the reader's and hostile-file tests in a 32-bit build
# (natively, or under qemu-i386 where this machine runs no 32-bit programs; see
# scripts/test32.sh), and the Windows plug-ins under Wine (the 32-bit build
# where this machine runs 32-bit programs, else the 64-bit build; see
# scripts/wine_tests.sh and the README).
#
# NIF_FUZZ_SECONDS (default 30) per fuzz target; NIF_REQUIRE_NATIVE32=1 and
# NIF_FORCE_EMULATED32=1 are passed on to the 32-bit step (scripts/test32.sh),
# NIF_REQUIRE_WIN32=1 and NIF_FORCE_WIN64=1 to the Wine tests. With both
# NIF_FORCE_* set, a machine that runs 32-bit programs takes the paths of one
# that runs none.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install_deps.sh

cmake --preset dev >/dev/null
cmake --build --preset dev -j"$(nproc)"
ctest --preset dev -j"$(nproc)"
# How many kept inputs each replay test ran through (from CTest's log).
awk '/^[0-9]+\/[0-9]+ Test: / { test = $3 } / inputs replayed$/ && test ~ /^fuzz_replay_/ { print test ": " $0 }' \
  build/dev/Testing/Temporary/LastTest.log

# Each fuzz target briefly (clang build in build/fuzz): crashes, leaks and
# sanitizer reports fail; slow units are only reported.
bash scripts/fuzz.sh --slow-ok "${NIF_FUZZ_SECONDS:-30}"

# Peak memory of loads, measured without the sanitizers: the release preset's memory tests.
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" --target mshost make_examples load_benchmark memory_bound_check
ctest --preset release -L memory

# The reader with a 32-bit size_t, as in the DLLs.
bash scripts/test32.sh

# The 32-bit DLLs are built (and checked without running them) on every machine.
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"
# The release zip: made, and its listing compared with the two DLLs and the guide.
ctest --test-dir build/win32 -R '^release_zip$' --output-on-failure
bash scripts/wine_tests.sh build/win32 build/dev
