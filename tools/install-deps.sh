#!/usr/bin/env bash
# Installs, on Debian 12, whatever of the build and test dependencies is missing.
set -euo pipefail

# The windows are laid out for the metrics of the Windows fonts; Liberation Sans has Arial's, so the
# texts fit their boxes here as they do on Windows. Without it, fontconfig picks whatever sans-serif
# font happens to be installed.
packages=(build-essential cmake pkg-config libgtest-dev libbenchmark-dev qt6-base-dev libgl-dev
          fonts-liberation2 xvfb xauth time xdotool imagemagick)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
