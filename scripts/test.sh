#!/usr/bin/env bash
# Sets up, builds everything (warnings are errors) and runs the whole suite through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUV_WERROR=ON >/dev/null
cmake --build build --parallel "$(nproc)"
ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 300

# The installed libraries must work for an application through find_package(nuv).
rm -rf build/stage build/install-check
cmake --install build --prefix build/stage >/dev/null
cmake -S tests/install -B build/install-check -G Ninja -DCMAKE_PREFIX_PATH="$PWD/build/stage" >/dev/null
cmake --build build/install-check >/dev/null
build/install-check/install_check
