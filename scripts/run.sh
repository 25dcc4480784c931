#!/usr/bin/env bash
# Builds pellix.exe when needed and runs it under Wine with the Japanese locale. The program keeps
# its lists and settings beside the executable, so it runs from its own folder
# (PELLIX_HOME, default ~/pellix), where a fresh build replaces only the executable and the help
# page.
#
# Without a display, an Xvfb server is started for it, a screenshot of that invisible screen is
# saved once pellix shows (PELLIX_SCREENSHOT, default /tmp/pellix-screen.png), and the server is
# stopped when pellix ends.
#
# Ctrl+C (or a TERM) ends pellix the way its 終了 does, so that it writes its lists and settings:
# pellix and Xvfb run in sessions of their own, out of reach of the terminal's signal, and the
# script asks pellix to close, waits for it, and says where its files are.
#
# The Wine prefix (WINEPREFIX, default ~/.local/share/pellix/wine) gets the settings of the tests'
# prefixes (tools/wine_prefix.py), so that pellix looks as it does in the README's pictures.
#
# PELLIX_RUN_BUILT names a folder that already holds pellix.exe, pellix-quit.exe and
# pellixhelp.html: then nothing is built (the tests use it).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
if [ -n "${PELLIX_RUN_BUILT:-}" ]; then
  built="$PELLIX_RUN_BUILT"
else
  cmake --preset mingw >/dev/null
  cmake --build --preset mingw --target pellix pellix-quit
  built="build/mingw/src"
fi
built=$(cd "$built" && pwd)

home="${PELLIX_HOME:-$HOME/pellix}"
mkdir -p "$home"
# Copied aside and renamed into place: a pellix that already runs from there keeps its own file
# instead of having it rewritten under it.
for file in pellix.exe pellixhelp.html; do
  cp "$built/$file" "$home/.$file.new"
  mv -f "$home/.$file.new" "$home/$file"
done

export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/pellix/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
mkdir -p "$WINEPREFIX"
wine=$(command -v wine64 || command -v wine)

# Whether a child of ours still runs (an ended one stays a zombie until it is waited for).
running() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat="${stat##*) }"
  [ "${stat:0:1}" != Z ]
}

# Polls, up to $2 seconds, until process $1 has ended.
wait_gone() {
  local deadline=$((SECONDS + $2))
  while running "$1"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

xvfb_pid=""
pellix_pid=""
cleanup() {
  if [ -n "$pellix_pid" ] && running "$pellix_pid"; then
    kill "$pellix_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    # Wine's own programs (its desktop process) leave a few seconds after pellix; taking the X
    # server away before that makes them complain.
    timeout 15 wineserver -w 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT
interrupted=""
trap 'interrupted=1' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  exec {fd}<> <(:)
  setsid Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 30 display <&"$fd" || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$display"
  echo "No display was set: pellix runs on a private Xvfb screen ($DISPLAY, pid $xvfb_pid)" \
    "that nobody can see. Press Ctrl+C to end it."
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing the Wine prefix $WINEPREFIX (once, about 15 s)"
  # In a session of its own too: the Wine server it starts is the one pellix then uses.
  setsid -w "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
fi
# The settings the tests and the README's pictures run with (Wine draws the title bars itself
# and keeps pellix on top with no window manager, the Japanese fonts are mapped): set once.
setsid -w /usr/bin/python3 tools/wine_prefix.py </dev/null

echo "Running $home/pellix.exe"
setsid "$wine" "$home/pellix.exe" </dev/null &
pellix_pid=$!

if [ -n "$xvfb_pid" ] && [ -z "$interrupted" ]; then
  shot="${PELLIX_SCREENSHOT:-${TMPDIR:-/tmp}/pellix-screen.png}"
  # Debian's python3, which has python3-xlib, whatever python3 comes first on the PATH.
  if /usr/bin/python3 tools/xshot.py "$shot" --wait-class pellix.exe --timeout 30; then
    echo "What the invisible screen shows now: $shot"
  elif [ -z "$interrupted" ]; then
    echo "pellix showed no window within 30 s; the screen as it is: $shot"
  fi
fi

status=0
while [ -z "$interrupted" ]; do
  if wait "$pellix_pid"; then status=0; else status=$?; fi
  running "$pellix_pid" || break
done

if [ -n "$interrupted" ] && running "$pellix_pid"; then
  # A second Ctrl+C must not cut the closing short; children inherit the ignored signal.
  trap '' INT TERM
  echo
  echo "Ending pellix as its 終了 does (it writes its lists and settings)..."
  # Right after the start its window may not exist yet: ask again for a little while.
  asked=""
  deadline=$((SECONDS + 20))
  while [ -z "$asked" ] && [ "$SECONDS" -lt "$deadline" ] && running "$pellix_pid"; do
    if "$wine" "$built/pellix-quit.exe" </dev/null 2>/dev/null; then asked=1; else sleep 0.5; fi
  done
  # An open question (a message box) keeps it until answered; do not wait for ever.
  if [ -z "$asked" ]; then
    echo "pellix's window was not found; stopping it." >&2
    kill "$pellix_pid" 2>/dev/null || true
  elif ! wait_gone "$pellix_pid" 60; then
    echo "pellix did not end within 60 s (a question may be open); stopping it." >&2
    kill "$pellix_pid" 2>/dev/null || true
  fi
  if wait "$pellix_pid"; then status=0; else status=$?; fi
fi
pellix_pid=""
echo "pellix has ended. Its lists, filters and settings are in $home"
exit "$status"
