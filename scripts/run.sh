#!/usr/bin/env bash
# Installs what is missing, builds the Release program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVELO_BUILD_TESTS=OFF -DTARVELO_BUILD_BENCHMARKS=OFF
cmake --build build-release --target tarvelo-calculator -j"$(nproc)"
exec build-release/app/tarvelo-calculator "$@"
