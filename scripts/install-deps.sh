#!/usr/bin/env bash
# Installs every Debian package the project needs. Safe to run again: packages already
# present are left alone and nothing is fetched when all are there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-dev clang-format python3
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev zlib1g-dev
  libfreetype-dev fontconfig fonts-vlgothic
  libsdl2-dev libsdl2-mixer-dev libsndfile1-dev libimgui-dev libfontconfig-dev libx11-dev
  libvorbis-dev libopusfile-dev libflac-dev libmpg123-dev
  xvfb xauth x11-utils xdotool imagemagick
  dpkg-dev file desktop-file-utils appstream lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
