#!/usr/bin/env bash
# Tests the Windows DLLs under Wine: a fresh Wine prefix, a private Xvfb
# display, the Microsoft-ABI test host driving the real dialogs, a check of
# each DLL's export and import tables, and screenshots of both dialogs.
#
#   bash scripts/wine_tests.sh [WIN32_BUILD_DIR [NATIVE_BUILD_DIR]]
#
# Every wait is bounded; the last line is "wine: N passed, N failed".
# WINE_TESTS_KEEP=DIR keeps a copy of the work folder (logs, files, prefix) there.
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
  if [ -n "${WINE_TESTS_KEEP:-}" ]; then cp -r "$work" "$WINE_TESTS_KEEP" 2>/dev/null; fi
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
# A virtual desktop the size of the display: with no window manager on Xvfb,
# Wine then draws the windows' frames and captions itself.
timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
# Wine's own fonts (Marlett for the caption buttons, MS Sans Serif for the
# dialogs) when the system keeps them where this Wine does not look.
if [ -d /usr/share/wine/fonts ]; then
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
echo "fresh Wine prefix ready in $(( $(date +%s) - boot_started )) s"

# Windows path of a Unix path (drive Z: is the Unix root in a fresh prefix).
winpath() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }

# Adds the counts of a test host run (its log) to the totals.
count_host_run() {
  local group=$1 log=$2 status=$3 counts
  tr -d '\r' <"$log" | grep -v -e '^\s*$' -e 'FS volume label and serial are not available' -e ':warn:debugstr:'
  counts=$(tr -d '\r' <"$log" | grep -E '^[0-9]+ passed, [0-9]+ failed, [0-9]+ skipped$' | tail -1)
  if [ -z "$counts" ]; then
    fail "$group" "the test host ended without a summary (exit status $status)"
    return
  fi
  read -r p _ f _ s _ <<<"${counts//,/}"
  passed=$((passed + p)); failed=$((failed + f)); skipped=$((skipped + s))
  if [ "$status" -ne 0 ] && [ "$f" -eq 0 ]; then fail "$group" "exit status $status"; fi
}

# Runs one group of the test host.
run_host() {
  local group=$1; shift
  local log="$work/host_$group.log"
  timeout 300 wine "$bin/wine_host.exe" "$group" "$@" >"$log" 2>&1
  count_host_run "$group" "$log" $?
}

# Runs the Screenshot group: the host holds each dialog open and writes
# NAME.ready with the window's rectangle; this takes the picture from the X
# display and answers with NAME.done.
take_screenshots() {
  local log="$work/host_Screenshot.log" shots="$build/screenshots"
  mkdir -p "$shots"
  rm -f "$shots"/*.png
  wine "$bin/wine_host.exe" Screenshot "$@" >"$log" 2>&1 &
  local host_pid=$! deadline=$(( $(date +%s) + 120 ))
  while kill -0 "$host_pid" 2>/dev/null && [ "$(date +%s)" -lt "$deadline" ]; do
    for name in dravelin korbastel; do
      local ready="$work/files/$name.ready"
      if [ -f "$ready" ] && [ ! -f "$work/files/$name.done" ]; then
        read -r x y w h <"$ready"
        timeout 30 import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shots/${name}_dialog.png" ||
          echo "import failed for $name"
        touch "$work/files/$name.done"
      fi
    done
    sleep 0.2
  done
  if kill -0 "$host_pid" 2>/dev/null; then
    kill "$host_pid" 2>/dev/null
    fail "Screenshot" "the test host did not end in time"
  fi
  wait "$host_pid"
  count_host_run Screenshot "$log" $?
  for name in dravelin korbastel; do
    [ -f "$bin/$name.dll" ] || continue
    local size
    size=$(identify -format '%w %h' "$shots/${name}_dialog.png" 2>/dev/null)
    if [ -n "$size" ] && [ "${size% *}" -gt 100 ] && [ "${size#* }" -gt 50 ]; then
      pass "Screenshot.${name}_dialog.png ($size)"
      [ "${NIF_UPDATE_IMAGES:-0}" = 1 ] && cp "$shots/${name}_dialog.png" "$root/docs/images/"
    else
      fail "Screenshot.${name}_dialog.png" "no picture taken"
    fi
  done
}

# The DLL's exports are exactly CreatePlugIn; its imports are system DLLs and msModelLib.dll.
system_dlls='^(kernel32|user32|gdi32|comdlg32|shell32|ole32|oleaut32|advapi32|msvcrt|shlwapi|comctl32|api-ms-win-.*)\.dll$'
check_tables() {
  local dll=$1 want_exports=$2 dump exports imports bad
  dump=$(i686-w64-mingw32-objdump -p "$bin/$dll" 2>&1)
  if [ -n "$want_exports" ]; then
    exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | grep -E '^\s+\[ *[0-9]+\] ' | sed -E 's/^\s+\[ *[0-9]+\] //' | sort | tr '\n' ' ')
    if [ "$exports" = "$want_exports " ]; then pass "Tables.$dll exports: $exports"
    else fail "Tables.$dll exports" "expected '$want_exports', found '$exports'"; fi
  fi
  imports=$(grep -oE 'DLL Name: .*' <<<"$dump" | cut -c11- | sort -u)
  bad=$(grep -viE "$system_dlls" <<<"$imports" | grep -vx 'msModelLib.dll' || true)
  if [ -z "$bad" ] && [ -n "$imports" ]; then pass "Tables.$dll imports: $(tr '\n' ' ' <<<"$imports")"
  else fail "Tables.$dll imports" "not allowed: $(tr '\n' ' ' <<<"$bad")"; fi
  # The host's library is bound by name, and only to functions the host's library has.
  if grep -qx 'msModelLib.dll' <<<"$imports"; then
    local known unknown
    known=$(grep -vE '^\s*(LIBRARY|EXPORTS)' "$root/host/msModelLib.def" | tr -d ' \t\r' | grep -v '^$')
    unknown=$(sed -n '/DLL Name: msModelLib.dll/,/^$/p' <<<"$dump" | tail -n +3 | grep -v '^$' |
              awk 'NF < 3 { print "(by ordinal)"; next } { print $3 }' | grep -vxF "$known" || true)
    if [ -z "$unknown" ]; then pass "Tables.$dll binds msModelLib.dll by name"
    else fail "Tables.$dll msModelLib.dll imports" "$(tr '\n' ' ' <<<"$unknown")"; fi
  fi
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
if [ -x "$native/bin/mshost" ] && [ -f "$native/bin/dravelin.so" ] && [ -f "$native/bin/korbastel.so" ] &&
   [ -f "$work/examples/crate.nif" ]; then
  if (cd "$work" && timeout 60 "$native/bin/mshost" import examples/crate.nif --save crate.json >/dev/null &&
      timeout 60 "$native/bin/mshost" export crate.json native_crate.nif >/dev/null); then
    host_options+=("--native-export=$(winpath "$work/native_crate.nif")")
  else
    fail "NativeExport" "mshost could not import and export the crate"
  fi
fi

run_host Abi "${host_options[@]}"
[ -f "$bin/msModelLib.dll" ] && run_host ModelLibrary "${host_options[@]}"
if [ -f "$bin/dravelin.dll" ] || [ -f "$bin/korbastel.dll" ]; then run_host Resources "${host_options[@]}"; fi
if [ -f "$bin/dravelin.dll" ]; then
  # With Wine's debugger-output channel on, OutputDebugStringA lands in the log:
  # the reading errors of the importer's runs must be there.
  WINEDEBUG=-all,warn+debugstr run_host Importer "${host_options[@]}"
  if grep -q 'OutputDebugStringA "Unexpected Long value - was 0x04000001 (67108865) expected 0x04000002 (67108866)"' \
       "$work/host_Importer.log"; then
    pass "DebugOutput.ReadingErrorReachesTheDebugger"
  else
    fail "DebugOutput.ReadingErrorReachesTheDebugger" "no OutputDebugStringA line with the error"
  fi
fi
[ -f "$bin/korbastel.dll" ] && run_host Exporter "${host_options[@]}"
if [ -f "$bin/dravelin.dll" ] || [ -f "$bin/korbastel.dll" ]; then take_screenshots "${host_options[@]}"; fi

for dll in dravelin korbastel abi_probe; do
  [ -f "$bin/$dll.dll" ] && check_tables "$dll.dll" CreatePlugIn
done
[ -f "$bin/msModelLib.dll" ] && check_tables msModelLib.dll ""

finish
