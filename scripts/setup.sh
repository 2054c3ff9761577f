#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then
# configures and builds the program into build/ (optimised, with debug information).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(qt6-base-dev libpugixml-dev cmake ninja-build g++ libbenchmark-dev
          clang-14 libclang-rt-14-dev xvfb xauth libgl-dev poppler-utils
          breeze-icon-theme libqt6svg6 libicu-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  echo "setup: all needed packages are installed"
fi

echo "setup: configuring and building build/ (RelWithDebInfo)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
echo "setup: done; the program is build/varnokel"
