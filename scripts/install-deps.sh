#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests, a headless window run and the Debian
# package (dpkg-dev and file, to find its dependencies) need.
# `install-deps.sh ci` adds what CI needs beyond that: clang with its sanitizer and fuzzer
# runtimes for the fuzz targets. Packages already installed are skipped; nothing is fetched when
# all are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config dpkg-dev file
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libgl-dev libxkbcommon-dev
  qtkeychain-qt6-dev
  libpng-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth
)
if [ "${1:-}" = ci ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
