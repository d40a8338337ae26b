#!/usr/bin/env bash
# Sets up the machine, builds Vormelin and runs every test: the normal build,
# the Debian package's checks, the same suite under AddressSanitizer + UBSan,
# a short run of each fuzz target, then the Windows build with its tests
# under Wine and its installer. Each stage installs the Debian packages it
# needs itself.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
scripts/setup.sh

scripts/build.sh release
(cd build/release && xvfb-run -a ctest --output-on-failure -j2)

# The .deb from the release build: files in place, lintian, install and removal.
scripts/check-packages.sh build/release

scripts/build.sh sanitize -DVORMELIN_SANITIZE=ON -DVORMELIN_BENCH=OFF
(cd build/sanitize && ASAN_OPTIONS=detect_leaks=0 xvfb-run -a ctest --output-on-failure -j2)

if [ -x scripts/fuzz-smoke.sh ]; then
  scripts/fuzz-smoke.sh 30
fi

# The Windows programs, cross-compiled, their tests under Wine, and the installer.
scripts/test-windows.sh
scripts/check-windows-installer.sh build/windows

echo "All tests passed in $(( $(date +%s) - start )) s."
