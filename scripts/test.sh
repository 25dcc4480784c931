#!/usr/bin/env bash
# The whole test suite on a fresh machine: installs what is missing, checks the C++ formatting,
# then builds and tests the core natively, with sanitizers and under Wine (MinGW build), makes the
# release zip, runs the end-to-end tests under Wine (the zip's among them) and a short fuzz run of
# every reader. Stops at the first failing stage.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# Every run makes its Wine prefixes anew (the unit tests' prefix and the end-to-end template), so
# that nothing an earlier run left behind, half made or made by another Wine, decides the result.
cache="$PWD/build/test-cache"
if [ -d "$cache/pellix/wine-unit" ]; then
  # A run that was interrupted can have left the prefix's persistent server running.
  PELLIX_WINEPREFIX="$cache/pellix/wine-unit" bash cmake/wine-run.sh --stop >/dev/null 2>&1 || true
fi
rm -rf "$cache"
mkdir -p "$cache"
export XDG_CACHE_HOME="$cache"
export PELLIX_WINEPREFIX="$cache/pellix/wine-unit"

FUZZ_SECONDS="${PELLIX_FUZZ_SECONDS:-15}"
passed=0
failed=0

stage() {
  local name="$1"
  shift
  local start=$SECONDS
  echo "=== $name"
  if "$@"; then
    passed=$((passed + 1))
    echo "=== $name: ok ($((SECONDS - start)) s)"
  else
    failed=$((failed + 1))
    echo "=== $name: FAILED ($((SECONDS - start)) s)"
    echo "stages: $passed passed, $failed failed ($SECONDS s in all)"
    exit 1
  fi
}

build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1"; }

stage "formatting" bash scripts/check-format.sh
stage "native build" build native
stage "native unit tests" ctest --preset native
stage "sanitizer build" build sanitize
stage "sanitizer unit tests" ctest --preset sanitize
stage "MinGW build" build mingw
# The release zip; the end-to-end tests check what it holds and start the program unpacked from it.
stage "release package" cmake --build --preset mingw --target package
export PELLIX_PACKAGE="$PWD/build/mingw/pellix-0.93-win64.zip"
stage "unit and end-to-end tests under Wine" ctest --preset mingw
stage "fuzz build" build fuzz
stage "fuzz smoke (${FUZZ_SECONDS} s a target)" bash tests/fuzz/smoke.sh build/fuzz "$FUZZ_SECONDS"

echo "stages: $passed passed, $failed failed ($SECONDS s in all)"
