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

# Written only once a program has run in the prefix, so a prefix that an interrupted or failed
# start left half made is never taken for a usable one.
ready_mark="$WINEPREFIX/.pellix-ready"
boot_log="$WINEPREFIX/.pellix-wineboot.log"

wine_cmd() { command -v wine64 >/dev/null 2>&1 && [ -x "$(command -v wine64)" ] && echo wine64 || echo wine; }

stop_server() {
  timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  timeout 60 wineserver -w </dev/null >/dev/null 2>&1 || true
}

# What wineboot leaves behind once its server has ended and saved the registry.
prefix_complete() {
  local hive
  for hive in system.reg user.reg; do
    head -n 1 "$WINEPREFIX/$hive" 2>/dev/null | grep -q '^WINE REGISTRY Version' || return 1
  done
  [ -f "$WINEPREFIX/drive_c/windows/system32/cmd.exe" ]
}

make_prefix() {
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  local status=0
  timeout 300 wineboot -i </dev/null >"$boot_log" 2>&1 || status=$?
  # wineboot returns while its server still holds the registry in memory; the hives reach the
  # disk only when that server ends, a few seconds later.
  timeout 120 wineserver -w </dev/null >/dev/null 2>&1 || true
  if [ "$status" -ne 0 ] || ! prefix_complete; then
    echo "wineboot could not make $WINEPREFIX (exit $status); its output:" >&2
    tail -n 20 "$boot_log" >&2 || true
    return 1
  fi
}

# Starts the server that lives for the whole test run and runs a first program in it. Wine's
# own services start with that program and live as long as the server; they get no inherited
# output, or CTest would wait for them to close its pipes.
start_server() {
  wineserver -p </dev/null >/dev/null 2>&1
  local status=0
  timeout 120 "$(wine_cmd)" cmd.exe /c exit 7 </dev/null >/dev/null 2>&1 || status=$?
  [ "$status" -eq 7 ]
}

case "${1:-}" in
  --start)
    mkdir -p "$WINEPREFIX"
    # This prefix is ours alone: whatever server an earlier run left in it is stopped first.
    stop_server
    if ! { [ -f "$ready_mark" ] && prefix_complete && start_server; }; then
      stop_server
      rm -f "$ready_mark"
      make_prefix || exit 1
      if ! start_server; then
        echo "programs do not run in the new prefix $WINEPREFIX" >&2
        stop_server
        exit 1
      fi
      touch "$ready_mark"
    fi
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
