#!/usr/bin/env bash
# Tests the Windows DLLs under Wine: a fresh Wine prefix, a private Xvfb
# display, the Microsoft-ABI test host driving the real dialogs (also of the
# DLLs copied under the names msDravelin.dll and msKorbastel.dll), a check of
# each DLL's export and import tables, and screenshots of both dialogs.
#
#   bash scripts/wine_tests.sh [WIN32_BUILD_DIR [NATIVE_BUILD_DIR]]
#
# The 32-bit DLLs are always checked without running them (export and import
# tables, dialog 101 and the version resource). Then a small 32-bit program
# is started under Wine: where it runs, the suite runs the 32-bit build.
# Where it cannot (the kernel of some machines runs no 32-bit programs at all),
# the suite runs the 64-bit build of the same sources (the win64 preset, built
# here when needed, in build/win64 or NIF_WIN64_BUILD) under 64-bit Wine, and
# the checks that mean something only in 32 bits are counted as skipped.
#   NIF_REQUIRE_WIN32=1  a missing 32-bit run is a failure
#   NIF_FORCE_WIN64=1    the 64-bit run even where 32-bit programs run
#
# Every wait is bounded. The line before the last names what ran and why; the
# last line is "wine: N passed, N failed, N skipped".
# WINE_TESTS_KEEP=DIR keeps a copy of the work folder (logs, files, prefix) there.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "${1:-build/win32}" 2>/dev/null && pwd)
build32=$build
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

ran=""  # what the suite ran and why, for the closing lines
finish() {
  echo "wine tests took $(( $(date +%s) - started )) s"
  [ -n "$ran" ] && echo "$ran"
  echo "wine: $passed passed, $failed failed, $skipped skipped"
  [ "$failed" -eq 0 ]
  exit $?
}

for tool in wine wineserver Xvfb i686-w64-mingw32-objdump i686-w64-mingw32-windres; do
  if ! command -v "$tool" >/dev/null; then
    fail "Setup" "$tool is not installed (scripts/install_deps.sh installs it)"
    finish
  fi
done

if [ -z "$build32" ]; then
  fail "Setup" "no 32-bit build folder ${1:-build/win32} (build the win32 preset)"
  finish
fi

# --- The 32-bit DLLs without running them -----------------------------------

# The DLL's exports are exactly CreatePlugIn; its imports are system DLLs and msModelLib.dll.
system_dlls='^(kernel32|user32|gdi32|comdlg32|shell32|ole32|oleaut32|advapi32|msvcrt|shlwapi|comctl32|api-ms-win-.*)\.dll$'
check_tables() {
  local objdump=$1 file=$2 want_exports=$3 label dump exports imports bad
  label="Tables.$(basename "$file")"
  [ "$objdump" = i686-w64-mingw32-objdump ] && label="Win32$label"
  dump=$("$objdump" -p "$file" 2>&1)
  if [ -n "$want_exports" ]; then
    exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | grep -E '^\s+\[ *[0-9]+\] ' | sed -E 's/^\s+\[ *[0-9]+\] //' | sort | tr '\n' ' ')
    if [ "$exports" = "$want_exports " ]; then pass "$label exports: $exports"
    else fail "$label exports" "expected '$want_exports', found '$exports'"; fi
  fi
  imports=$(grep -oE 'DLL Name: .*' <<<"$dump" | cut -c11- | sort -u)
  bad=$(grep -viE "$system_dlls" <<<"$imports" | grep -vx 'msModelLib.dll' || true)
  if [ -z "$bad" ] && [ -n "$imports" ]; then pass "$label imports: $(tr '\n' ' ' <<<"$imports")"
  else fail "$label imports" "not allowed: $(tr '\n' ' ' <<<"$bad")"; fi
  # The host's library is bound by name, and only to functions the host's library has.
  if grep -qx 'msModelLib.dll' <<<"$imports"; then
    local known unknown
    known=$(grep -vE '^\s*(LIBRARY|EXPORTS)' "$root/host/msModelLib.def" | tr -d ' \t\r' | grep -v '^$')
    unknown=$(sed -n '/DLL Name: msModelLib.dll/,/^$/p' <<<"$dump" | tail -n +3 | grep -v '^$' |
              awk 'NF < 3 { print "(by ordinal)"; next } { print $3 }' | grep -vxF "$known" || true)
    if [ -z "$unknown" ]; then pass "$label binds msModelLib.dll by name"
    else fail "$label msModelLib.dll imports" "$(tr '\n' ' ' <<<"$unknown")"; fi
  fi
}

# The resources as windres reads them back from a DLL (resource script form).
resources_of() {
  i686-w64-mingw32-windres -i "$1" -O rc 2>/dev/null || x86_64-w64-mingw32-windres -i "$1" -O rc 2>&1
}

# Dialog 101 holds the controls with ids (id, window class, text; one per line
# in `want`); with a third argument, the DLL has a version resource with that
# original file name. The Resources group of the test host checks every field
# of the DLL it runs; this checks the 32-bit one where that group runs the
# 64-bit build.
check_resources() {
  local file=$1 want=$2 version=${3:-} label script controls
  label="Win32Resources.$(basename "$file")"
  script=$(resources_of "$file")
  controls=$(sed -n '/^101 DIALOG/,/^END/p' <<<"$script" |
             sed -nE 's/^\s*CONTROL "([^"]*)", ([0-9]+), "([A-Za-z]+)".*/\2 \3 \1/p')
  if [ "$controls" = "$want" ]; then pass "$label dialog 101: $(wc -l <<<"$want") controls with ids"
  else fail "$label dialog 101" "expected controls '$(tr '\n' ';' <<<"$want")', found '$(tr '\n' ';' <<<"$controls")'"; fi
  [ -n "$version" ] || return
  if grep -q '^1 VERSIONINFO' <<<"$script" && grep -qF "VALUE \"OriginalFilename\", \"$version\"" <<<"$script"; then
    pass "$label version resource"
  else
    fail "$label version resource" "no VERSIONINFO naming $version"
  fi
}

dravelin_controls='1 BUTTON OK
2 BUTTON Cancel
1000 EDIT 
1001 EDIT 
1002 BUTTON ...
1003 BUTTON ...
1004 BUTTON Produce Debug Dump
1005 EDIT 
1006 BUTTON Apply scene transforms'
korbastel_controls='1 BUTTON OK
2 BUTTON Cancel
1000 EDIT 
1001 BUTTON Browse
1003 BUTTON Include textures in file
1002 BUTTON Use original textures
1004 BUTTON Export textures to external nif
1005 BUTTON Include animation
1006 BUTTON Strip animation
1008 STATIC ALPHA 2.4
1009 BUTTON Texture file names only'

if [ ! -f "$build32/bin/dravelin.dll" ] && [ ! -f "$build32/bin/korbastel.dll" ]; then
  fail "Win32Static" "no 32-bit plug-in DLLs in $build32/bin (build the win32 preset)"
fi
for dll in dravelin korbastel; do
  if [ -f "$build32/bin/$dll.dll" ]; then
    check_tables i686-w64-mingw32-objdump "$build32/bin/$dll.dll" CreatePlugIn
    want=${dll}_controls
    check_resources "$build32/bin/$dll.dll" "${!want}" "$([ $dll = korbastel ] && echo korbastel.dll)"
  fi
done
[ -f "$build32/bin/abi_probe.dll" ] && check_tables i686-w64-mingw32-objdump "$build32/bin/abi_probe.dll" CreatePlugIn
[ -f "$build32/bin/msModelLib.dll" ] && check_tables i686-w64-mingw32-objdump "$build32/bin/msModelLib.dll" ""

# --- A Wine prefix, 32-bit when this machine runs 32-bit programs -------------

# A private X display: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ]; then
  fail "Setup" "Xvfb did not start: $(tail -3 "$work/xvfb.log")"
  finish
fi
export DISPLAY=":$(head -1 "$work/display")"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Boots a fresh prefix of the given kind (win32 or win64) with the given Wine
# loader; no Mono or Gecko installer prompts, no crash dialogs. On failure
# leaves the reason in boot_error.
boot_error=""
boot_prefix() {
  export WINEARCH=$1 WINEPREFIX="$work/prefix_$1"
  wine=$2
  local log="$work/wineboot_$1.log" boot_started status
  boot_started=$(date +%s)
  timeout 300 "$wine" wineboot -i >"$log" 2>&1
  status=$?
  if [ "$status" -eq 0 ]; then timeout 120 wineserver -w; status=$?; fi
  if [ "$status" -ne 0 ]; then
    if [ "$status" -eq 124 ]; then boot_error="wineboot did not finish in time: $(tail -3 "$log" | tr '\n' ' ')"
    else boot_error="wineboot failed (exit status $status): $(tail -3 "$log" | tr '\n' ' ')"; fi
    return 1
  fi
  timeout 60 "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # A virtual desktop the size of the display: with no window manager on Xvfb,
  # Wine then draws the windows' frames and captions itself.
  timeout 60 "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  timeout 60 "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  # Wine's own fonts (Marlett for the caption buttons, MS Sans Serif for the
  # dialogs) when the system keeps them where this Wine does not look.
  if [ -d /usr/share/wine/fonts ]; then
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  echo "fresh $1 Wine prefix ready in $(( $(date +%s) - boot_started )) s"
}

# The probe: does a 32-bit Windows program run here? Sets `reason` when not.
reason=""
if [ "${NIF_FORCE_WIN64:-0}" = 1 ]; then
  reason="32-bit run not tried (NIF_FORCE_WIN64=1)"
elif [ ! -f "$build32/bin/wine_probe.exe" ]; then
  reason="$build32/bin/wine_probe.exe is missing (build the win32 preset)"
elif ! boot_prefix win32 wine; then
  if grep -q 'Exec format error' "$work/wineboot_win32.log"; then
    reason="no 32-bit programs on this machine: the 32-bit Wine loader fails with \"Exec format error\""
  elif grep -q 'wine32 is missing' "$work/wineboot_win32.log"; then
    reason="no 32-bit Wine on this machine (wine32:i386 is not installed)"
  else
    reason="32-bit Wine did not start: $boot_error"
  fi
else
  probe_out=$(timeout 60 wine "$build32/bin/wine_probe.exe" 2>&1 | tr -d '\r')
  if ! grep -q '^wine probe: 32-bit program ran$' <<<"$probe_out"; then
    reason="a 32-bit program did not run under Wine: $(tail -2 <<<"$probe_out" | tr '\n' ' ')"
  fi
fi

if [ -z "$reason" ]; then
  echo "wine probe: 32-bit programs run here; testing the 32-bit build"
  ran="ran the 32-bit build"
  objdump=i686-w64-mingw32-objdump
elif [ "${NIF_REQUIRE_WIN32:-0}" = 1 ]; then
  fail "Setup.Win32Run" "NIF_REQUIRE_WIN32=1, but $reason"
  ran="the 32-bit build did not run: $reason"
  finish
else
  echo "wine probe: $reason"
  ran="$reason; ran the 64-bit build"
  if [ -n "${WINEPREFIX:-}" ]; then timeout 20 wineserver -k >/dev/null 2>&1 || true; fi
  # The 64-bit build of the same sources, brought up to date.
  build64=${NIF_WIN64_BUILD:-$root/build/win64}
  echo "building the win64 preset in $build64 (log in the work folder)"
  if ! { [ -f "$build64/CMakeCache.txt" ] || cmake --preset win64 -B "$build64"; } >"$work/build_win64.log" 2>&1 ||
     ! cmake --build "$build64" -j"$(nproc)" >>"$work/build_win64.log" 2>&1; then
    fail "Setup.Win64Build" "$(tail -5 "$work/build_win64.log" | tr '\n' ' ')"
    finish
  fi
  build=$(cd "$build64" && pwd)
  bin="$build/bin"
  objdump=x86_64-w64-mingw32-objdump
  for tool in "$objdump" x86_64-w64-mingw32-windres; do
    if ! command -v "$tool" >/dev/null; then
      fail "Setup" "$tool is not installed (scripts/install_deps.sh installs it)"
      finish
    fi
  done
  wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
  if [ ! -x "$wine64" ]; then
    fail "Setup" "64-bit Wine ($wine64) is not installed (scripts/install_deps.sh installs wine64)"
    finish
  fi
  if ! boot_prefix win64 "$wine64"; then
    fail "Setup" "$boot_error"
    finish
  fi
fi

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
  timeout 300 "$wine" "$bin/wine_host.exe" "$group" "$@" >"$log" 2>&1
  count_host_run "$group" "$log" $?
}

# Runs the Screenshot group: the host holds each dialog open and writes
# NAME.ready with the window's rectangle; this takes the picture from the X
# display and answers with NAME.done.
take_screenshots() {
  local log="$work/host_Screenshot.log" shots="$build/screenshots"
  mkdir -p "$shots"
  rm -f "$shots"/*.png
  "$wine" "$bin/wine_host.exe" Screenshot "$@" >"$log" 2>&1 &
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

if [ ! -f "$bin/wine_host.exe" ]; then
  fail "Setup" "$bin/wine_host.exe is missing (build the win32 preset)"
  finish
fi

# Sample files: the native make_examples when built, else the Windows one under Wine.
mkdir -p "$work/examples" "$work/files"
if [ -x "$native/bin/make_examples" ]; then
  timeout 60 "$native/bin/make_examples" "$work/examples" >/dev/null
elif [ -f "$bin/make_examples.exe" ]; then
  timeout 60 "$wine" "$bin/make_examples.exe" "$(winpath "$work/examples")" >/dev/null 2>&1
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
# The plug-ins under the names a host that lists only "ms*.dll" would need.
if [ -f "$bin/dravelin.dll" ] && [ -f "$bin/korbastel.dll" ]; then
  cp "$bin/dravelin.dll" "$work/files/msDravelin.dll"
  cp "$bin/korbastel.dll" "$work/files/msKorbastel.dll"
  run_host Renamed "${host_options[@]}"
fi
if [ -f "$bin/dravelin.dll" ] || [ -f "$bin/korbastel.dll" ]; then take_screenshots "${host_options[@]}"; fi

# The DLLs that ran, when they are not the 32-bit ones checked above; and the
# 32-bit DLLs' resources are the very ones the Resources group checked field by field.
if [ "$build" != "$build32" ]; then
  for dll in dravelin korbastel abi_probe; do
    [ -f "$bin/$dll.dll" ] && check_tables "$objdump" "$bin/$dll.dll" CreatePlugIn
  done
  [ -f "$bin/msModelLib.dll" ] && check_tables "$objdump" "$bin/msModelLib.dll" ""
  for dll in dravelin korbastel; do
    [ -f "$bin/$dll.dll" ] && [ -f "$build32/bin/$dll.dll" ] || continue
    if [ "$(resources_of "$bin/$dll.dll")" = "$(resources_of "$build32/bin/$dll.dll")" ]; then
      pass "Win32Resources.$dll.dll equal the 64-bit DLL's"
    else
      fail "Win32Resources.$dll.dll" "differ from the 64-bit DLL's"
    fi
  done
fi

finish
