#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix, with the Japanese locale the program is
# made for. `--start` prepares the prefix and keeps one wineserver running for the whole test
# run; `--stop` ends that wineserver. Both only touch the prefix this script owns.
set -euo pipefail

export WINEPREFIX="${PELLIX_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/pellix/wine-unit}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

wine_cmd() { command -v wine64 >/dev/null 2>&1 && [ -x "$(command -v wine64)" ] && echo wine64 || echo wine; }

case "${1:-}" in
  --start)
    mkdir -p "$WINEPREFIX"
    # This prefix is ours alone: whatever server an earlier run left in it is stopped first.
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    timeout 30 wineserver -w >/dev/null 2>&1 || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      timeout 300 wineboot -i </dev/null >/dev/null 2>&1 || true
      [ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot could not make $WINEPREFIX" >&2; exit 1; }
      timeout 30 wineserver -k >/dev/null 2>&1 || true
      timeout 30 wineserver -w >/dev/null 2>&1 || true
    fi
    wineserver -p </dev/null >/dev/null 2>&1
    # Wine's own services start with the first program and live as long as the server; start
    # them here with no inherited output, or CTest would wait for them to close its pipes.
    timeout 120 "$(wine_cmd)" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
    echo "wineserver running for $WINEPREFIX"
    ;;
  --stop)
    timeout 60 wineserver -k || true
    timeout 60 wineserver -w || true
    ;;
  *)
    exec timeout "${PELLIX_WINE_TIMEOUT:-900}" "$(wine_cmd)" "$@"
    ;;
esac
