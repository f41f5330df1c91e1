#!/usr/bin/env bash
# The real-display tier: the built program on a private Xvfb display with
# the openbox window manager, driven with xdotool and read over AT-SPI and
# the clipboard (CTest label `desktop`, tests/desktop/). Installs what the
# tier needs when missing, builds the program and runs the tier, one test
# at a time; each test starts and stops its own display and buses.
#   scripts/desktop.sh [build folder] [ctest arguments, e.g. -R drag]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-test
if [[ $# -gt 0 && $1 != -* ]]; then
  dir=$1
  shift
fi
scripts/setup.sh xvfb openbox xdotool wmctrl x11-utils xclip dbus-daemon at-spi2-core python3-pyatspi
if [[ ! -f $dir/CMakeCache.txt ]]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$dir" --target tarvelo-calculator -j"$(nproc)"
ctest --test-dir "$dir" -L desktop --output-on-failure "$@"
