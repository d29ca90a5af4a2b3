#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine, with the hiscore server running on
# the game's default address (127.0.0.1:8080) for as long as the game runs, unless a server
# already listens there. It plays in build/play/, which keeps tessara.ini, hiscore.dat and
# the server's database from one run to the next.
#
#   tools/run.sh                      on $DISPLAY, or on a virtual display when there is none
#   tools/run.sh --virtual-display    on a virtual 1280x1024 display in any case
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSARA_BUILD_DIR:-$root/build}
windows_build="$build/windows"
native_build="$build/native"

virtual_display=
for argument in "$@"; do
  case $argument in
    --virtual-display) virtual_display=1 ;;
    *) echo "usage: $0 [--virtual-display]" >&2; exit 2 ;;
  esac
done
[[ -n "${DISPLAY:-}" ]] || virtual_display=1

"$root/tools/install-deps.sh" run
cmake -S "$root" -B "$windows_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$windows_build" -j "$(nproc)" --target tessara
cmake -S "$root" -B "$native_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$native_build" -j "$(nproc)" --target tessara-hiscore-server

play="$build/play"
mkdir -p "$play/Help"
cp "$root/resources/help/help.htm" "$play/Help/help.htm"
cd "$play"

source "$root/tools/wine-env.sh"
server_pid=
finish() {
  [[ -z "$server_pid" ]] || kill "$server_pid" 2>/dev/null || true
  if [[ -n "$virtual_display" ]]; then
    # Wine's own processes end once the game has; then the display may go.
    timeout 20 wineserver -w 2>/dev/null || true
    stop_virtual_display
  fi
  return 0
}
trap finish EXIT

if [[ -n "$virtual_display" ]]; then
  TESSARA_XVFB=1 start_virtual_display
  echo "Playing on the virtual display $DISPLAY (1280x1024). To look at it:" \
       "DISPLAY=$DISPLAY import -window root shot.png"
fi

if (exec 3<>/dev/tcp/127.0.0.1/8080) 2>/dev/null; then
  echo "A hiscore server already listens on 127.0.0.1:8080; the game will use it."
else
  "$native_build/hiscore_server/tessara-hiscore-server" --database "$play/hiscores.sqlite" \
    >"$play/hiscore-server.log" 2>&1 &
  server_pid=$!
fi

wine_prefix_ready
wine "$windows_build/tessara.exe"
