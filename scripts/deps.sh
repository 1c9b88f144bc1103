#!/usr/bin/env bash
# Installs the Debian packages the build and the test suite need. Only missing packages are
# installed, so a second run costs one dpkg query.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git
  clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libjsoncpp-dev libpugixml-dev
  libcairo2-dev libpango1.0-dev libfontconfig-dev libsdl2-dev libx11-dev
  fonts-noto-core fonts-noto-cjk
  xvfb xdotool
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
