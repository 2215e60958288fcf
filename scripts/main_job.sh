#!/usr/bin/env bash
# The main job: writes the project's sample NIF files and imports each one
# through the real importer plug-in in the stand-in host, with a short summary.
# Fails when the binaries are missing or any import does not exit 0.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build/release/bin}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for tool in make_examples mshost; do
  if [ ! -x "$bin/$tool" ]; then
    echo "main_job: $bin/$tool is missing; build first (bash scripts/build.sh)" >&2
    exit 1
  fi
done
"$bin/make_examples" "$work"
failed=0
for f in "$work"/*.nif; do
  echo "== mshost import $(basename "$f") --summary"
  "$bin/mshost" import "$f" --summary || { echo "main_job: import of $(basename "$f") exited $?" >&2; failed=1; }
done
exit "$failed"
