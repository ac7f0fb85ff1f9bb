#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demonstration need.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config make
  clang libclang-rt-14-dev            # fuzz targets (libFuzzer)
  libgtest-dev libgmock-dev
  libcups2-dev cups cups-daemon cups-client
  libusb-1.0-0-dev libavahi-client-dev libtinyxml2-dev
  socat fonts-dejavu-core fontconfig
  qt6-base-dev qt6-base-dev-tools libgl-dev   # Glyphmill's Qt 6 Widgets front end
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
