#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (as root); does nothing when all is there.
set -euo pipefail

packages=(cmake ninja-build g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
          libz-mingw-w64-dev libstb-dev googletest xvfb xauth wine wine64 wine32:i386 imagemagick
          fonts-wqy-microhei fonts-urw-base35 zopfli pngquant x11-utils xdotool python3 zip unzip)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages (${missing[*]}); run this as root to install them" >&2
  exit 1
fi
echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
