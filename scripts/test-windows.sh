#!/usr/bin/env bash
# Builds the Windows programs and their unit tests (scripts/build-windows.sh),
# then, under Wine: the unit tests through CTest, the GUI smoke test on a
# private X server, and the command line against the Linux build's (built
# into build/release when scripts/test.sh did not build it already).
# One Wine prefix in a temporary folder serves every step.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)

scripts/build-windows.sh
cmake --build build/windows -j2

prefix=$(mktemp -d)
# The prefix goes once Wine's server for it has ended (it lingers a few seconds).
trap 'timeout 60 wineserver -w; rm -rf "$prefix"' EXIT
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
timeout 180 wineboot -i >/dev/null 2>&1 || { echo "wineboot -i failed or took over 180 s"; exit 1; }

(cd build/windows && timeout 1200 ctest -j2 --timeout 300 --output-on-failure)
timeout 600 tests/windows/gui_smoke.sh build/windows

# The Linux program to compare with: scripts/test.sh's build, or this one's.
linux=${VORMELIN_LINUX_BUILD:-build/release}
if [ ! -x "$linux/platform/qt/vormelin" ]; then
  cmake -S . -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$linux" -j2 --target vormelin
fi
timeout 900 tests/windows/cli_compare.sh "$linux" build/windows

echo "Windows stage: $(( $(date +%s) - start )) s"
