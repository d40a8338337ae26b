#!/usr/bin/env bash
# Sets up the machine, builds Vormelin and runs every test:
# the normal build, then the same suite under AddressSanitizer + UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

scripts/build.sh release
(cd build/release && xvfb-run -a ctest --output-on-failure -j2)

scripts/build.sh sanitize -DVORMELIN_SANITIZE=ON -DVORMELIN_BENCH=OFF
(cd build/sanitize && ASAN_OPTIONS=detect_leaks=0 xvfb-run -a ctest --output-on-failure -j2)

if [ -x scripts/fuzz-smoke.sh ]; then
  scripts/fuzz-smoke.sh
fi
echo "All tests passed."
