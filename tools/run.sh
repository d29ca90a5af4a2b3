#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine, with the hiscore server running on
# the game's default address (127.0.0.1:8080) for as long as the game runs, unless a server
# already listens there. It plays in build/play/, which keeps tessara.ini, hiscore.dat and
# the server's database from one run to the next.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSARA_BUILD_DIR:-$root/build}
windows_build="$build/windows"
native_build="$build/native"

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$windows_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$windows_build" -j "$(nproc)" --target tessara
cmake -S "$root" -B "$native_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$native_build" -j "$(nproc)" --target tessara-hiscore-server

if [[ -z "${DISPLAY:-}" ]]; then
  echo "Built $windows_build/tessara.exe, but there is no display to show it on." >&2
  echo "No display: set DISPLAY, or run under xvfb-run (xvfb-run -s '-screen 0 1280x1024x24' tools/run.sh)." >&2
  exit 1
fi

play="$build/play"
mkdir -p "$play/Help"
cp "$root/resources/help/help.htm" "$play/Help/help.htm"
cd "$play"

server_pid=
stop_server() { [[ -n "$server_pid" ]] && kill "$server_pid" 2>/dev/null || true; }
trap stop_server EXIT
if (exec 3<>/dev/tcp/127.0.0.1/8080) 2>/dev/null; then
  echo "A hiscore server already listens on 127.0.0.1:8080; the game will use it."
else
  "$native_build/hiscore_server/tessara-hiscore-server" --database "$play/hiscores.sqlite" \
    >"$play/hiscore-server.log" 2>&1 &
  server_pid=$!
fi

source "$root/tools/wine-env.sh"
wine_prefix_ready
wine "$windows_build/tessara.exe"
