#!/usr/bin/env bash
# Builds everything (native dev and release, the 32-bit Windows DLLs and their
# release zip) and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install_deps.sh

for preset in dev release win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
done

cmake --build --preset win32 --target package

bash scripts/main_job.sh build/release/bin
