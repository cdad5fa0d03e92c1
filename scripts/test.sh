#!/usr/bin/env bash
# Sets up, builds everything (warnings are errors) and runs the whole suite through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUV_WERROR=ON >/dev/null
cmake --build build --parallel "$(nproc)"
ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 300
