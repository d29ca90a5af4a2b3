#!/usr/bin/env bash
# Installs the Debian packages that Tessara needs, when any is missing:
#
#   tools/install-deps.sh run     building and playing the game, with its hiscore server
#   tools/install-deps.sh test    that, and what the tests and the Windows packages need
#
# apt's and dpkg's output goes to install-deps.log in the build folder ($TESSARA_BUILD_DIR,
# or build/); the terminal gets one line. With --dry-run it only names what it would install.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
log="${TESSARA_BUILD_DIR:-$root/build}/install-deps.log"

run_packages=(
  cmake ninja-build g++ python3
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 fonts-wine
  # What Wine's window system and dialogs use, which it only recommends.
  fonts-liberation libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1
  libxinerama1 libxfixes3 libxxf86vm1 libdbus-1-3 libgnutls30
  # Wine's browser launcher hands pages on to xdg-open, the desktop's browser.
  xdg-utils
  # The virtual display for machines that have none.
  xvfb
  # The hiscore server.
  libboost-dev libsqlite3-dev
)
test_packages=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xauth xdotool x11-utils imagemagick
  nsis
  tinyproxy chromium
)

usage() { echo "usage: $0 run|test [--dry-run]" >&2; exit 2; }
dry_run=
set_name=
for argument in "$@"; do
  case $argument in
    run | test) set_name=$argument ;;
    --dry-run) dry_run=1 ;;
    *) usage ;;
  esac
done
case $set_name in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) usage ;;
esac

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ -n $dry_run ]]; then
  echo "Would install ${#missing[@]} packages: ${missing[*]}"
  exit 0
fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
mkdir -p "$(dirname "$log")"
# One line: what is missing, then, once apt is done, how many packages it set up.
printf 'Installing %d missing packages (log: %s) ... ' "${#missing[@]}" "$log"
export DEBIAN_FRONTEND=noninteractive
if ! { "${as_root[@]}" apt-get update && \
       "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; } \
       >"$log" 2>&1; then
  echo "failed."
  echo "Could not install: ${missing[*]}. The end of $log:" >&2
  tail -n 20 "$log" >&2
  exit 1
fi
echo "done, $(grep -c '^Setting up ' "$log" || true) packages set up."
