#!/usr/bin/env bash
# Sets up the machine, builds the viewer and opens it on a sample model.
# Extra arguments replace the model: scripts/run.sh data/calotte.off
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Only the program is built here; the build folder keeps the options that
# scripts/test.sh gives it.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release --target vormelin
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: the viewer needs a desktop session (or run it under xvfb-run)." >&2
  exit 1
fi
if [ $# -eq 0 ]; then
  set -- data/tore.off
fi
exec build/release/platform/qt/vormelin "$@"
