#!/usr/bin/env bash
# Installs the Debian 12 packages the program and its tests need (as root or through sudo).
# Skips apt entirely when everything is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-serialport-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
    libgcab-dev libgif-dev zlib1g-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    cabextract libxml2-utils
    fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
