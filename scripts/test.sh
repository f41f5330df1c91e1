#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test with CTest:
# the offscreen suite (no display needed), then the real-display tier
# (scripts/desktop.sh).
#   scripts/test.sh             the normal build (build-test): both
#   scripts/test.sh --sanitize  AddressSanitizer + UBSan + LeakSanitizer
#                               (build-asan): the offscreen suite only
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
QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" -LE desktop
if [[ ${1:-} != --sanitize ]]; then
  scripts/desktop.sh "$dir"
fi
