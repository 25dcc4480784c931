#!/usr/bin/env bash
# The whole test suite on a fresh machine: installs what is missing, checks the C++ formatting,
# builds the core and its unit tests with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# (the fuzz targets in the same build) and with MinGW-w64 (gcc), runs the unit tests natively
# and under Wine, makes the release zip, runs the end-to-end tests under Wine (the zip's among
# them) and a short fuzz run of every reader. Exits non-zero if any stage fails; after a failure
# no further stage starts.
#
# The stages run in a few chains at once. The Windows chain (the program's MinGW build, then the
# end-to-end tests) is the longest and mostly waits for Wine, so it runs at normal priority and
# starts its tests as soon as the program and the test tools are built; everything else (the
# MinGW unit tests' build, the native build, the fuzz run) runs niced beside it on the CPU it
# leaves. Each stage's output goes to its own log, printed whole when the stage ends, and a
# table of every stage's times closes the run.
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
export PELLIX_PACKAGE="$PWD/build/mingw/pellix-0.93-win64.zip"

FUZZ_SECONDS="${PELLIX_FUZZ_SECONDS:-15}"
logs="$PWD/build/test-logs"
rm -rf "$logs"
mkdir -p "$logs"
started=$(date +%s)

now() { echo $(($(date +%s) - started)); }

# Only one chain prints at a time, so that a stage's log stays in one piece.
say() {
  {
    flock 9
    cat
  } 9>"$logs/print.lock"
}

# stage NAME COMMAND...: runs the command with its output in the stage's log, then prints the log
# and the outcome; a stage that finds another one failed does not start.
stage() {
  local name="$1"
  shift
  if [ -e "$logs/failed" ]; then
    printf '%s\t%s\t%s\t%s\n' "$name" "not run" - - >>"$logs/stages"
    return 1
  fi
  local log
  log="$logs/$(printf '%s' "$name" | tr -c 'A-Za-z0-9' '-').log"
  local from
  from=$(now)
  echo "--- $name: started at $from s" | say
  local status=0
  "$@" >"$log" 2>&1 </dev/null || status=$?
  local to
  to=$(now)
  local outcome="ok"
  if [ "$status" -ne 0 ]; then
    outcome="FAILED"
    echo "$name" >>"$logs/failed"
  fi
  {
    echo "=== $name"
    cat "$log"
    echo "=== $name: $outcome ($((to - from)) s, exit $status)"
  } | say
  printf '%s\t%s\t%s\t%s\n' "$name" "$outcome" "$from" "$((to - from))" >>"$logs/stages"
  [ "$status" -eq 0 ]
}

# build PRESET [cmake --build options]
build() {
  local preset="$1"
  shift
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" "$@"
}
# The chain's shell and all it starts from now on take only what the Windows chain leaves.
niced() { renice -n 19 -p "$BASHPID" >/dev/null; }

# Each chain's stages run one after the other; every stage checks for an earlier failure itself,
# so a chain goes on calling them and the table lists what did not run.
format_chain() {
  set +e
  stage "formatting" bash scripts/check-format.sh
}

windows_chain() {
  set +e
  stage "MinGW build of pellix and the test tools" \
    build mingw --target pellix pellix-quit pxtool pxtestwin pellix_e2e_ids
  # The release zip; the end-to-end tests check what it holds and start the program unpacked
  # from it.
  stage "release package" cmake --build --preset mingw --target package
  (
    niced
    stage "MinGW build of the unit tests" cmake --build --preset mingw --target pellix_unit_tests
    # A prefix of its own, so the unit tests under Wine run beside the end-to-end tests.
    stage "unit tests under Wine" ctest --preset mingw -LE e2e
  ) &
  stage "end-to-end tests under Wine" ctest --preset mingw -L e2e --verbose
  wait
}

# One clang build serves the sanitizers and the fuzzer: the core compiled once for both. gcc
# compiles the same core and tests in the MinGW build.
native_chain() {
  set +e
  niced
  stage "native build (clang, sanitizers, fuzz targets)" build sanitize
  stage "native unit tests (sanitizers)" ctest --preset sanitize
  stage "fuzz smoke (${FUZZ_SECONDS} s a target)" \
    bash tests/fuzz/smoke.sh build/sanitize "$FUZZ_SECONDS"
}

format_chain &
windows_chain &
native_chain &
wait

total=$(now)
passed=$(awk -F'\t' '$2 == "ok"' "$logs/stages" | wc -l)
failed=$(awk -F'\t' '$2 == "FAILED"' "$logs/stages" | wc -l)
echo
echo "stage times in seconds (the chains overlap, so they add up to more than the run):"
printf '  %-48s %-8s %6s %6s\n' "stage" "result" "start" "took"
while IFS=$'\t' read -r name outcome from took; do
  printf '  %-48s %-8s %6s %6s\n' "$name" "$outcome" "$from" "$took"
done < <(sort -t $'\t' -k3,3n "$logs/stages") # by start; those that did not run ("-") first
echo "total: $total s"
if [ -e "$logs/failed" ]; then
  echo "FAILED: $(paste -sd, "$logs/failed" | sed 's/,/, /g') (logs in $logs)"
fi
echo "stages: $passed passed, $failed failed"
[ ! -e "$logs/failed" ]
