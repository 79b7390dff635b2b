#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and a headless or desktop run need, only when missing.
# Works as root and through sudo.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6multimedia6 qt6-qpa-plugins libgl-dev libxkbcommon-dev
  libcurl4-openssl-dev libcpp-httplib-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-wqy-microhei xvfb xauth
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
