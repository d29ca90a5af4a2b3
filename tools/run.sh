#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine. It plays in build/play/, which keeps
# tessara.ini and hiscore.dat from one run to the next.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSARA_BUILD_DIR:-$root/build}
windows_build="$build/windows"

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$windows_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$windows_build" -j "$(nproc)" --target tessara

if [[ -z "${DISPLAY:-}" ]]; then
  echo "Built $windows_build/tessara.exe, but there is no display to show it on." >&2
  echo "No display: set DISPLAY, or run under xvfb-run (xvfb-run -s '-screen 0 1280x1024x24' tools/run.sh)." >&2
  exit 1
fi

source "$root/tools/wine-env.sh"
wine_prefix_ready
play="$build/play"
mkdir -p "$play/Help"
cp "$root/resources/help/help.htm" "$play/Help/help.htm"
cd "$play"
exec wine "$windows_build/tessara.exe"
