#!/usr/bin/env bash
# The Windows program's painting and start-up benchmarks, under Wine. Builds the Windows
# configuration, then prints for the largest board of each tile size and each operation
#
#   paint <operation> <small|big> <median ms> literal <median ms>
#
# (the incremental painting and the literal one, timed alternately in the same run), and the
# time from a process start to the first paint, against an empty window:
#
#   start-up first-paint <median ms> empty-window <median ms> ratio <ratio>
#
# It uses the X display in DISPLAY, or starts an Xvfb of 1600x1200 of its own when there is
# none (or TESSARA_XVFB is set): the largest boards need a screen that large to lie on it whole.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSARA_BUILD_DIR:-$root/build}
windows_build="$build/windows"
starts=${TESSARA_BENCH_STARTS:-41}

"$root/tools/install-deps.sh" run >&2
cmake -S "$root" -B "$windows_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$windows_build" -j "$(nproc)" \
  --target tessara paint_bench empty_window startup_bench >/dev/null

source "$root/tools/wine-env.sh"

trap 'wineserver -k 2>/dev/null || true; stop_virtual_display' EXIT
start_virtual_display 1600x1200

wine_prefix_ready >&2
# A server left running by an earlier run is used as it is.
start_wine_server || true

work="$windows_build/bench-run"
rm -rf "$work"
mkdir -p "$work/paint" "$work/start-up"

(cd "$work/paint" && wine "$windows_build/bench/paint_bench.exe")

# The game starts on a stored Intermediate board, whose window is about the empty one's size,
# with Safe Start on, so no dialog waits and the first paint opens the board.
cp "$windows_build/tessara.exe" "$windows_build/bench/empty_window.exe" "$work/start-up/"
printf 'marks=1\r\nsafe=1\r\nlevel=3\r\nsmall=0\r\n' >"$work/start-up/tessara.ini"
(cd "$work/start-up" &&
  wine "$windows_build/bench/startup_bench.exe" tessara.exe Tessara empty_window.exe \
    EmptyWindow "$starts")
