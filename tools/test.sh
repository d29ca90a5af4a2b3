#!/usr/bin/env bash
# Builds every configuration and runs every test: native, native under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows build under Wine. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSARA_BUILD_DIR:-$root/build}
jobs=$(nproc)

"$root/tools/install-deps.sh" test

configure_and_build() {
  local folder=$1
  shift
  cmake -S "$root" -B "$build/$folder" -G Ninja "$@" >/dev/null
  cmake --build "$build/$folder" -j "$jobs"
}

configure_and_build native -DCMAKE_BUILD_TYPE=RelWithDebInfo
configure_and_build sanitize -DCMAKE_BUILD_TYPE=Debug -DTESSARA_SANITIZE=ON -DTESSARA_BENCHMARKS=OFF
configure_and_build windows -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DTESSARA_HISCORE_SERVER="$build/native/hiscore_server/tessara-hiscore-server"

failed=0
echo "== native tests"
ctest --test-dir "$build/native" --output-on-failure -j "$jobs" || failed=1
echo "== sanitizer tests"
ctest --test-dir "$build/sanitize" --output-on-failure -j "$jobs" || failed=1

echo "== Windows tests under Wine"
windows_build="$build/windows"
source "$root/tools/wine-env.sh"
trap 'wineserver -k 2>/dev/null || true; stop_virtual_display' EXIT
start_virtual_display
wine_prefix_ready
start_wine_server
ctest --test-dir "$windows_build" --output-on-failure -j "$jobs" || failed=1

if [[ $failed -ne 0 ]]; then
  echo "Some tests failed." >&2
  exit 1
fi
echo "All test runs passed."
