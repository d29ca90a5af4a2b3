#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Tessara need, if any is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ python3
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth xdotool x11-utils imagemagick
  # What Wine's window system and dialogs use, which it only recommends.
  fonts-wine fonts-liberation libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1
  libxinerama1 libxfixes3 libxxf86vm1 libdbus-1-3 libgnutls30
  libboost-dev libsqlite3-dev
  tinyproxy chromium
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
