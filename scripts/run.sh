#!/usr/bin/env bash
# Sets up the machine, builds Vormelin and opens the viewer on a sample model.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release -DVORMELIN_TESTS=OFF -DVORMELIN_BENCH=OFF
if [ -x build/release/platform/qt/vormelin ]; then
  exec build/release/platform/qt/vormelin data/tore.off
fi
# Until the viewer exists: convert the bundled numeric sample to OFF.
build/release/tools/offconvert/offconvert data/tore.txt && echo "Wrote data/tore.off"
