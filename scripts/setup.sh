#!/usr/bin/env bash
# Installs whatever the two builds and their tests need on Debian, if missing.
set -euo pipefail
packages=(cmake ninja-build g++ make pkg-config googletest libbenchmark-dev zlib1g-dev libpng-dev
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev libz-mingw-w64-dev
  wine wine64 xvfb xauth xdotool x11-utils x11-apps imagemagick python3
  liblnk-utils clang clang-format wixl msitools zip unzip pngcheck p7zip-full
  python3-xlib fonts-wqy-microhei)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
