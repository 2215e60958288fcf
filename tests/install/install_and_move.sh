#!/usr/bin/env bash
# Installs a native build into a temporary prefix, moves the prefix elsewhere
# and runs the moved mshost: it must find its libraries and plug-ins relative
# to itself, while $MSHOST_PLUGIN_DIR and --plugin still choose others.
#
#   bash tests/install/install_and_move.sh CMAKE BUILD_DIR EXAMPLES_DIR
set -uo pipefail
cmake=$1 build=$2 examples=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/install_and_move.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAILED: $*"; failed=1; }

if ! "$cmake" --install "$build" --prefix "$work/first" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  fail "cmake --install"
  exit 1
fi
mv "$work/first" "$work/moved"
prefix=$work/moved
mshost=$prefix/bin/mshost

listing=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort)
expected='bin/mshost
lib/mshost/dravelin.so
lib/mshost/korbastel.so
lib/mshost/libplatform.so
lib/mshost/msModelLib.so'
[ "$listing" = "$expected" ] || fail "installed files: $(tr '\n' ' ' <<<"$listing")"
# Every installed program and library finds what it needs through $ORIGIN
# only: no search path of the build tree is left behind.
while read -r file; do
  paths=$(readelf -d "$prefix/$file" | sed -nE 's/.*\((RUNPATH|RPATH)\).*\[(.*)\]/\2/p')
  case "$paths" in
    '$ORIGIN'|'$ORIGIN/../lib/mshost') ;;
    *) fail "$file searches '$paths'" ;;
  esac
done <<<"$listing"

# The moved mshost imports every sample file and exports one again.
count=0
for nif in "$examples"/*.nif; do
  count=$((count + 1))
  if ! out=$("$mshost" import "$nif" --save "$work/$(basename "$nif" .nif).json" --summary 2>&1); then
    fail "import of $(basename "$nif"): $out"
  fi
done
[ "$count" -gt 0 ] || fail "no sample files in $examples"
if ! out=$("$mshost" export "$work/crate.json" "$work/crate.nif" 2>&1 >/dev/null); then fail "export: $out"; fi
[ "$("$mshost" check "$work/crate.nif" | head -1)" = "ok: 9 blocks" ] || fail "the exported crate does not check"

# $MSHOST_PLUGIN_DIR and --plugin still name other plug-ins.
out=$(MSHOST_PLUGIN_DIR=$work/none "$mshost" import "$examples/crate.nif" 2>&1)
[ $? -eq 2 ] && grep -qF "cannot load plug-in '$work/none/dravelin.so'" <<<"$out" || fail "MSHOST_PLUGIN_DIR: $out"
out=$(MSHOST_PLUGIN_DIR=$prefix/lib/mshost "$mshost" import "$examples/crate.nif" --summary 2>&1) || fail "MSHOST_PLUGIN_DIR: $out"
out=$("$mshost" import "$examples/crate.nif" --plugin "$work/other.so" 2>&1)
[ $? -eq 2 ] && grep -qF "cannot load plug-in '$work/other.so'" <<<"$out" || fail "--plugin: $out"

if [ "$failed" -eq 0 ]; then echo "installed, moved and ran: $count sample files imported"; fi
exit "$failed"
