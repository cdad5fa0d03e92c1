#!/usr/bin/env bash
# Sets up, builds the gallery and writes one PNG per form into gallery/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target gallery
build/bin/gallery gallery
