#!/usr/bin/env bash
# Runs every test: the native unit tests under the sanitizers, and the
# Windows plug-ins under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install_deps.sh

cmake --preset dev >/dev/null
cmake --build --preset dev -j"$(nproc)"
ctest --preset dev -j"$(nproc)"

# Each fuzz target briefly (clang build in build/fuzz), then peak memory of loads.
bash scripts/fuzz.sh "${NIF_FUZZ_SECONDS:-30}"
bash scripts/memory_check.sh

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"
bash scripts/wine_tests.sh build/win32 build/dev
