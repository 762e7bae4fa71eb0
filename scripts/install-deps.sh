#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test KSV500, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config
          qt6-base-dev qt6-serialport-dev libgl-dev
          googletest libgtest-dev libgmock-dev
          libxml2-utils binutils srecord
          fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
