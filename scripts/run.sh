#!/usr/bin/env bash
# Builds pellix.exe when needed and runs it under Wine with the Japanese locale. The program keeps
# its lists and settings beside the executable, so it runs from its own folder
# (PELLIX_HOME, default ~/pellix), where a fresh build replaces only the executable.
# Without a display, an Xvfb server is started for it and stopped when pellix ends.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target pellix

home="${PELLIX_HOME:-$HOME/pellix}"
mkdir -p "$home"
cp build/mingw/src/pellix.exe "$home/pellix.exe"

export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/pellix/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
mkdir -p "$WINEPREFIX"

xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 30 display <&"$fd" || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$display"
  echo "No display was set: started Xvfb on $DISPLAY (pid $xvfb_pid) for pellix."
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing the Wine prefix $WINEPREFIX (once, about 15 s)"
  wineboot -i >/dev/null 2>&1 || true
fi

echo "Running $home/pellix.exe"
wine "$home/pellix.exe"
