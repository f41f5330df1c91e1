#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test with CTest
# on the offscreen platform (no display needed).
#   scripts/test.sh             the normal build (build-test)
#   scripts/test.sh --sanitize  AddressSanitizer + UBSan + LeakSanitizer (build-asan)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh desktop-file-utils appstream

dir=build-test
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [[ ${1:-} == --sanitize ]]; then
  dir=build-asan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DTARVELO_SANITIZE=ON -DTARVELO_BUILD_BENCHMARKS=OFF)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}"
cmake --build "$dir" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
