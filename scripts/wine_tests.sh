#!/usr/bin/env bash
# Tests the Windows DLLs under Wine: a fresh Wine prefix, a private Xvfb
# display, the Microsoft-ABI test host driving the real dialogs, a check of
# each DLL's export and import tables, and screenshots of both dialogs.
#
#   bash scripts/wine_tests.sh [WIN32_BUILD_DIR [NATIVE_BUILD_DIR]]
#
# Every wait is bounded; the last line is "wine: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "${1:-build/win32}" && pwd)
native=""
if [ -d "${2:-build/dev}" ]; then native=$(cd "${2:-build/dev}" && pwd); fi
bin="$build/bin"
started=$(date +%s)

passed=0
failed=0
skipped=0
pass() { passed=$((passed + 1)); echo "[       OK ] $1"; }
fail() { failed=$((failed + 1)); echo "[  FAILED  ] $1${2:+: $2}"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/wine_tests.XXXXXX")
xvfb_pid=""
cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then timeout 20 wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

finish() {
  echo "wine tests took $(( $(date +%s) - started )) s"
  echo "wine: $passed passed, $failed failed, $skipped skipped"
  [ "$failed" -eq 0 ]
  exit $?
}

for tool in wine wineserver Xvfb i686-w64-mingw32-objdump; do
  if ! command -v "$tool" >/dev/null; then
    fail "Setup" "$tool is not installed (scripts/install_deps.sh installs it)"
    finish
  fi
done

# A private X display: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ]; then
  fail "Setup" "Xvfb did not start: $(tail -3 "$work/xvfb.log")"
  finish
fi
export DISPLAY=":$(head -1 "$work/display")"

# A fresh prefix; no Mono or Gecko installer prompts, no crash dialogs.
export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win32
boot_started=$(date +%s)
if ! timeout 300 wineboot -i >"$work/wineboot.log" 2>&1 || ! timeout 120 wineserver -w; then
  fail "Setup" "wineboot did not finish in time: $(tail -3 "$work/wineboot.log")"
  finish
fi
timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
echo "fresh Wine prefix ready in $(( $(date +%s) - boot_started )) s"

# Windows path of a Unix path (drive Z: is the Unix root in a fresh prefix).
winpath() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }

# Runs one group of the test host and adds its counts to the totals.
run_host() {
  local group=$1; shift
  local log="$work/host_$group.log"
  timeout 300 wine "$bin/wine_host.exe" "$group" "$@" >"$log" 2>&1
  local status=$?
  tr -d '\r' <"$log" | grep -v '^\s*$'
  local counts
  counts=$(tr -d '\r' <"$log" | grep -E '^[0-9]+ passed, [0-9]+ failed, [0-9]+ skipped$' | tail -1)
  if [ -z "$counts" ]; then
    fail "$group" "the test host ended without a summary (exit status $status)"
    return
  fi
  read -r p _ f _ s _ <<<"${counts//,/}"
  passed=$((passed + p)); failed=$((failed + f)); skipped=$((skipped + s))
  if [ "$status" -ne 0 ] && [ "$f" -eq 0 ]; then fail "$group" "exit status $status"; fi
}

if [ ! -f "$bin/wine_host.exe" ]; then
  fail "Setup" "$bin/wine_host.exe is missing (build the win32 preset)"
  finish
fi

# Sample files: the native make_examples when built, else the Windows one under Wine.
mkdir -p "$work/examples" "$work/files"
if [ -x "$native/bin/make_examples" ]; then
  timeout 60 "$native/bin/make_examples" "$work/examples" >/dev/null
elif [ -f "$bin/make_examples.exe" ]; then
  timeout 60 wine "$bin/make_examples.exe" "$(winpath "$work/examples")" >/dev/null 2>&1
fi
host_options=("--work=$(winpath "$work/files")")
[ -f "$work/examples/crate.nif" ] && host_options+=("--examples=$(winpath "$work/examples")")

# What the native build writes for the crate imported and exported again:
# the Windows export of the same model must be byte for byte the same.
if [ -x "$native/bin/mshost" ] && [ -f "$work/examples/crate.nif" ]; then
  if (cd "$work" && timeout 60 "$native/bin/mshost" import examples/crate.nif --save crate.json >/dev/null &&
      timeout 60 "$native/bin/mshost" export crate.json native_crate.nif >/dev/null); then
    host_options+=("--native-export=$(winpath "$work/native_crate.nif")")
  else
    fail "NativeExport" "mshost could not import and export the crate"
  fi
fi

run_host Abi "${host_options[@]}"
[ -f "$bin/msModelLib.dll" ] && run_host ModelLibrary "${host_options[@]}"
[ -f "$bin/dravelin.dll" ] && run_host Importer "${host_options[@]}"
[ -f "$bin/korbastel.dll" ] && run_host Exporter "${host_options[@]}"

finish
