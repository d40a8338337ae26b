#!/usr/bin/env bash
# Makes the packages from a build folder (default: build/release, configured
# as scripts/build.sh does when it is not yet): builds only what the install
# takes, then runs CPack with the generators the configuration chose: the
# .deb on Linux, the NSIS installer and the ZIP on Windows. Prints the paths
# of the packages made.
# Usage: scripts/package.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}

# The .deb's dependencies are computed by dpkg-shlibdeps, which CPack finds
# through file(1).
missing=()
for p in dpkg-dev file; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target vormelin_install_files >/dev/null
build=$(cd "$build" && pwd)
(cd "$build" && cpack >"$build/cpack.log" 2>&1) || {
  tail -n 20 "$build/cpack.log" >&2
  echo "package.sh: cpack failed, see $build/cpack.log" >&2
  exit 1
}
sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$build/cpack.log"
