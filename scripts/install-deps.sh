#!/usr/bin/env bash
# Installs the Debian packages needed to build, test, package and run the program.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          nlohmann-json3-dev qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl1-mesa-dev
          fonts-noto-cjk poppler-utils xvfb xauth python3 file appstream desktop-file-utils groff-base)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
