# Sourced by the scripts that run Windows binaries: a private Wine prefix inside the build
# folder (prepared by wine-prefix.sh), no debug chatter, and no installer dialog for the
# .NET and HTML runtimes.
# Expects $windows_build to name the Windows build folder.
export WINEPREFIX="$windows_build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

wine_env_tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Creates the prefix on first use and keeps its fonts and browser settings current.
wine_prefix_ready() {
  "$wine_env_tools/wine-prefix.sh"
}

# Keeps one Wine server, with its background services, up for all the Windows processes
# to come. The services are started here with their output going nowhere: started by the
# first test binary instead, they would hold its output pipe open and the test would hang.
start_wine_server() {
  # A server that one is already keeping for this prefix serves as well.
  wineserver -p 2>/dev/null || true
  wineboot </dev/null >/dev/null 2>&1 || true
}

# A virtual display for the Windows program when none is given (or on CI, or when
# TESSARA_XVFB asks for one), of the screen size given as WIDTHxHEIGHT (1280x1024 if none).
start_virtual_display() {
  if [[ -n "${DISPLAY:-}" && -z "${CI:-}" && -z "${TESSARA_XVFB:-}" ]]; then return; fi
  local size=${1:-1280x1024}
  local number=90
  while [[ -e /tmp/.X11-unix/X$number || -e /tmp/.X$number-lock ]]; do number=$((number + 1)); done
  Xvfb ":$number" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$number"
  for _ in $(seq 50); do
    [[ -e /tmp/.X11-unix/X$number ]] && return
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

stop_virtual_display() {
  [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null || true
}
