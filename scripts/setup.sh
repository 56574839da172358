#!/usr/bin/env bash
# Installs the Debian packages the build needs, when they are missing, then configures and
# builds into the given directory with any extra CMake arguments.
#   scripts/setup.sh BUILD_DIR [cmake args...]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"
shift

packages=(cmake g++ make qt6-base-dev qt6-webengine-dev libgl-dev xvfb xauth python3
          clang libclang-rt-14-dev fonts-liberation2)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

cmake -S "$here" -B "$build" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
