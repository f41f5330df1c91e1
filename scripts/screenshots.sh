#!/usr/bin/env bash
# Renders every page, the About window and the help window, offscreen, to
# PNG files under docs/: once as designed, once at a scale factor of 2
# (docs/<name>@2x.png, as on a high-density screen).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVELO_BUILD_TESTS=OFF -DTARVELO_BUILD_BENCHMARKS=OFF
cmake --build build-release --target screenshots -j"$(nproc)"
# A private settings folder: the pictures show the first-start state.
XDG_CONFIG_HOME=$(mktemp -d) build-release/tools/screenshots docs
XDG_CONFIG_HOME=$(mktemp -d) build-release/tools/screenshots docs --scale 2
