#!/usr/bin/env bash
# Prints the figures users feel, measured under Wine on a private Xvfb: capture to screen (a copy
# made inside Wine and one made by an X client, at 0, 10,000 and 100,000 items), a burst of copies,
# start-up with 100,000 items beside a trivial window program, the time from Enter to the text in
# notepad (paste and typed paste, PELLIX_PASTE_ROUNDS rounds, default 20), and how long the window
# waits while lists are saved in the background. Each figure is a median over PELLIX_TIMING_ROUNDS
# rounds (default 3). Slow figures never fail: this is a report, not a test. PELLIX_TIMING_EXE
# measures another build's pellix.exe (an earlier version's, say) instead of this one's.
#
#   bash scripts/timing.sh [pytest -k expression]
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset mingw >/dev/null
cmake --build --preset mingw >/dev/null

build="$PWD/build/mingw"
work="${PELLIX_TIMING_WORK:-$build/timing}"
rm -rf "$work"
mkdir -p "$work"
out="$work/figures.txt"

export PELLIX_PXTOOL="$build/tests/e2e/pxtool.exe"
export PELLIX_PXTESTWIN="$build/tests/e2e/pxtestwin.exe"
export PELLIX_EXE="$work/pellix.exe"
export PELLIX_TIMING_OUT="$out"
export PYTHONDONTWRITEBYTECODE=1
cp "${PELLIX_TIMING_EXE:-$build/src/pellix.exe}" "$PELLIX_EXE"

args=()
if [ $# -gt 0 ]; then
  args=(-k "$1")
fi
/usr/bin/python3 -m pytest tests/e2e/timing_figures.py -q -p no:cacheprovider \
  --basetemp "$work/runs" "${args[@]}"
echo
echo "Figures (also in $out):"
cat "$out"
