#!/usr/bin/env bash
# Runs the reader's and the hostile-file tests (and the replay of the kept
# fuzz inputs of the reader) in a 32-bit Linux build, where size_t has the
# 32 bits it has in the DLLs, under AddressSanitizer and UBSan.
#
#   bash scripts/test32.sh
#
# A small 32-bit program decides how: where the kernel runs it, the dev32
# preset runs the tests directly; where it cannot (the kernel of some machines
# runs no 32-bit programs at all), the dev32-emulated preset runs them under
# qemu-i386, with LeakSanitizer off (the 64-bit build looks for leaks).
#   NIF_REQUIRE_NATIVE32=1   running under the emulator is a failure
#   NIF_FORCE_EMULATED32=1   the emulated run even where 32-bit programs run
#                            directly (the path of a machine that runs none)
#
# The line before the last says how the tests ran and why; the last line is
# "32-bit: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d "${TMPDIR:-/tmp}/test32.XXXXXX")
trap 'rm -rf "$work"' EXIT

summary() {  # summary HOW PASSED FAILED
  echo "$1"
  echo "32-bit: $2 passed, $3 failed"
  [ "$3" -eq 0 ]
  exit $?
}

if ! printf 'int main(void) { return sizeof(void*) == 4 ? 0 : 1; }\n' | gcc -m32 -x c - -o "$work/probe" 2>"$work/probe.log"; then
  cat "$work/probe.log"
  summary "no 32-bit compiler: gcc -m32 cannot build a program (scripts/install_deps.sh installs g++-multilib)" 0 1
fi

if [ "${NIF_FORCE_EMULATED32:-0}" = 1 ] && [ "${NIF_REQUIRE_NATIVE32:-0}" = 1 ]; then
  summary "NIF_FORCE_EMULATED32=1 and NIF_REQUIRE_NATIVE32=1 contradict each other" 0 1
fi

if [ "${NIF_FORCE_EMULATED32:-0}" != 1 ] && "$work/probe" 2>"$work/probe.log"; then
  preset=dev32
  how="ran natively: this machine runs 32-bit programs"
else
  if [ "${NIF_FORCE_EMULATED32:-0}" = 1 ]; then
    reason="native run not tried (NIF_FORCE_EMULATED32=1)"
  else
    reason=$(sed -n 's/.*: //p' "$work/probe.log" | head -1)
    reason=${reason:-"the program failed"}
  fi
  if [ "${NIF_REQUIRE_NATIVE32:-}" = 1 ]; then
    summary "no 32-bit programs on this machine (\"$reason\") and NIF_REQUIRE_NATIVE32=1" 0 1
  fi
  if ! command -v qemu-i386 >/dev/null || ! qemu-i386 "$work/probe"; then
    summary "no 32-bit programs on this machine (\"$reason\") and qemu-i386 cannot run one (scripts/install_deps.sh installs qemu-user)" 0 1
  fi
  preset=dev32-emulated
  if [ "${NIF_FORCE_EMULATED32:-0}" = 1 ]; then
    how="ran under qemu-i386: $reason; LeakSanitizer off there"
  else
    how="ran under qemu-i386: this machine runs no 32-bit programs (\"$reason\"); LeakSanitizer off there"
  fi
fi

cmake --preset "$preset" >/dev/null || summary "the $preset preset does not configure" 0 1
cmake --build --preset "$preset" -j"$(nproc)" --target reader_tests hostile_tests fuzz_replay_reader ||
  summary "the $preset build failed" 0 1
ctest --preset "$preset" -j"$(nproc)" -L '^(reader|hostile)$' | tee "$work/ctest.log"
# "100% tests passed, 0 tests failed out of 246"
counts=$(sed -nE 's/.* tests passed, ([0-9]+) tests failed out of ([0-9]+)$/\1 \2/p' "$work/ctest.log")
if [ -z "$counts" ]; then summary "$how; ctest printed no result" 0 1; fi
read -r failed total <<<"$counts"
summary "$how" $((total - failed)) "$failed"
