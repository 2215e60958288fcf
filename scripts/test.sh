#!/usr/bin/env bash
# Runs every test: the native unit tests under the sanitizers, and the
# Windows plug-ins under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install_deps.sh

cmake --preset dev >/dev/null
cmake --build --preset dev -j"$(nproc)"
ctest --preset dev -j"$(nproc)"

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"
bash scripts/wine_tests.sh build/win32 build/dev
