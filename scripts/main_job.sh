#!/usr/bin/env bash
# The main job: runs the stand-in host on the project's sample files.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build/release/bin}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ -x "$bin/make_examples" ] && [ -x "$bin/mshost" ]; then
  "$bin/make_examples" "$work"
  for f in "$work"/*.nif; do
    echo "== mshost check $(basename "$f")"
    "$bin/mshost" check "$f"
  done
fi
