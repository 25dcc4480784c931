#!/usr/bin/env bash
# Runs the benchmarks of an existing build and prints the table; builds nothing.
#
#   tests/bench/run.sh <bench build folder> [more Google Benchmark flags]
#
# Each benchmark is repeated and only mean, median, standard deviation and coefficient of
# variation are shown, so one noisy run does not pass for the figure. The figures are for
# reading; nothing here fails on speed.
set -euo pipefail

if [[ $# -lt 1 ]]; then
  echo "usage: $0 <bench build folder> [benchmark flags]" >&2
  exit 2
fi
binary=$1/tests/bench/pellix_bench
shift
if [[ ! -x $binary ]]; then
  echo "missing $binary: build the \"bench\" preset first" >&2
  exit 2
fi
exec "$binary" --benchmark_repetitions=5 --benchmark_display_aggregates_only=true "$@"
