#!/usr/bin/env bash
# The main job: writes the project's sample NIF files and imports each one
# through the real importer plug-in in the stand-in host, with a short summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build/release/bin}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ -x "$bin/make_examples" ] && [ -x "$bin/mshost" ]; then
  "$bin/make_examples" "$work"
  for f in "$work"/*.nif; do
    echo "== mshost import $(basename "$f") --summary"
    "$bin/mshost" import "$f" --summary
  done
fi
