#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, skipping
# everything already present. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-scxml-dev qt6-svg-dev
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-qpa-plugins libgl-dev
  libxcb1-dev libudev-dev libusb-1.0-0-dev libssl-dev
  fonts-liberation xvfb xauth
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  umockdev libumockdev-dev nginx-light openssl dfu-util libspdlog-dev clang
)
if [ "${1:-}" = "--run-only" ]; then
  packages=(cmake ninja-build g++ pkg-config ccache qt6-base-dev qt6-base-dev-tools
    qt6-multimedia-dev qt6-scxml-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools
    qt6-l10n-tools qt6-qpa-plugins libgl-dev libxcb1-dev libudev-dev libusb-1.0-0-dev libssl-dev
    fonts-liberation xvfb xauth nginx-light openssl)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
