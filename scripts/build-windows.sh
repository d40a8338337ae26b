#!/usr/bin/env bash
# Builds the Windows programs on Debian 12: cross-compiled with MinGW-w64
# (POSIX threads, static runtime) into build/windows, then gathers
# vormelin.exe, offconvert.exe and aide.html in build/windows/dist.
# Installs the Debian packages it needs first (idempotent, like setup.sh).
# Usage: scripts/build-windows.sh [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build python3
  g++-mingw-w64-x86-64-posix
  libeigen3-dev googletest
  wine wine64
  xvfb xauth openbox xdotool
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S . -B build/windows -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build/windows -j2 --target vormelin offconvert
rm -rf build/windows/dist
cmake --install build/windows --prefix build/windows/dist >/dev/null
echo "Windows programs in build/windows/dist:"
ls build/windows/dist
