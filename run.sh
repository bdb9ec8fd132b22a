#!/usr/bin/env bash
# Sets up what is missing, builds a release build into build/ and starts Zelbrin.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZELBRIN_TESTS=OFF -DZELBRIN_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec ./build/zelbrin "$@"
