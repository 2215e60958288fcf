#!/usr/bin/env bash
# Makes the Windows release zip (the package target of a win32 build) and
# checks what it holds: exactly the two plug-in DLLs and the user guide; each
# DLL a 32-bit one, stripped, exporting only CreatePlugIn.
#
#   bash tests/release/check_release_zip.sh CMAKE WIN32_BUILD_DIR VERSION
set -uo pipefail
cmake=$1 build=$(cd "$2" && pwd) version=$3
objdump=i686-w64-mingw32-objdump
zip=$build/nif-plugins-$version-win32.zip
work=$(mktemp -d "${TMPDIR:-/tmp}/release_zip.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAILED: $*"; failed=1; }

rm -f "$zip"
if ! "$cmake" --build "$build" --target package >"$work/package.log" 2>&1; then
  tail -20 "$work/package.log"
  fail "cmake --build $build --target package"
  exit 1
fi
[ -f "$zip" ] || { fail "no $zip"; exit 1; }

listing=$(cd "$work" && "$cmake" -E tar tf "$zip" | sort)
echo "$(basename "$zip"):"
sed 's/^/  /' <<<"$listing"
expected='dravelin.dll
korbastel.dll
user_guide.txt'
[ "$listing" = "$expected" ] || fail "the zip holds '$(tr '\n' ' ' <<<"$listing")', expected '$(tr '\n' ' ' <<<"$expected")'"

(cd "$work" && "$cmake" -E tar xf "$zip")
for dll in dravelin korbastel; do
  file=$work/$dll.dll
  [ -f "$file" ] || continue
  "$objdump" -f "$file" | grep -q 'file format pei-i386' || fail "$dll.dll is not a 32-bit DLL"
  sections=$("$objdump" -h "$file" | awk '$2 ~ /^\./ { print $2 }' | tr '\n' ' ')
  if grep -q '\.debug' <<<"$sections"; then fail "$dll.dll keeps debug sections: $sections"; fi
  symbols=$("$objdump" -t "$file" | grep -c '^\[' || true)
  [ "$symbols" -eq 0 ] || fail "$dll.dll keeps $symbols symbols"
  exports=$("$objdump" -p "$file" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -E '^\s+\[ *[0-9]+\] ' |
            sed -E 's/^\s+\[ *[0-9]+\] //' | tr '\n' ' ')
  [ "$exports" = "CreatePlugIn " ] || fail "$dll.dll exports '$exports'"
  # The DLL in the zip is the build's own, stripped: the same code, fewer bytes.
  built=$(stat -c %s "$build/bin/$dll.dll") shipped=$(stat -c %s "$file")
  [ "$shipped" -lt "$built" ] || echo "note: $dll.dll in the zip is $shipped bytes, the build's $built"
done
cmp -s "$work/user_guide.txt" "$(dirname "$0")/../../docs/user_guide.txt" || fail "user_guide.txt differs from docs/user_guide.txt"

[ "$failed" -eq 0 ] && echo "release zip: the two stripped 32-bit DLLs and the user guide"
exit "$failed"
