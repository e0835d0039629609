#!/usr/bin/env bash
# Installs the Debian 12 packages Quillmere needs to build, run, test and benchmark.
# Usage: scripts/install-deps.sh [run|test]   (run: building and starting only)
set -euo pipefail
what=${1:-test}
pkgs=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev
      libqt6svg6 qt6-qpa-plugins qt6-image-formats-plugins libgl-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev fonts-wqy-microhei fonts-dejavu-core xvfb xauth
      imagemagick x11-utils qt6-translations-l10n)
if [ "$what" = test ]; then
  pkgs+=(libgtest-dev libbenchmark-dev clang-14 libclang-rt-14-dev xclip xdotool libopencv-dev
         libstb-dev python3 desktop-file-utils appstream dbus-daemon dbus-bin at-spi2-core python3-pyatspi
         poppler-utils g++-aarch64-linux-gnu)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
