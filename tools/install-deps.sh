#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian 12 machine.
set -euo pipefail
packages=(cmake g++ make ninja-build ccache pkg-config qt6-base-dev qt6-multimedia-dev
          qt6-charts-dev libgl-dev
          qt6-qpa-plugins xvfb xauth desktop-file-utils appstream man-db
          at-spi2-core python3-pyatspi dbus-daemon)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
