#!/usr/bin/env bash
# Runs every fuzz target for a short while from its checked-in seeds.
#
#   tests/fuzz/smoke.sh <fuzz build folder> [seconds per target, default 15]
#
# New corpus entries and crash inputs go to a temporary folder, never into the repository. The
# folder is removed after a clean run and kept (and named) when something was found. Exits
# non-zero on any crash, timeout, leak or sanitizer report.
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
  echo "usage: $0 <fuzz build folder> [seconds per target]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
seconds=${2:-15}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "seconds must be a positive whole number, not '$seconds'" >&2
  exit 2
fi
seeds=$(cd "$(dirname "$0")" && pwd)/corpus
targets=(fuzz_list_file fuzz_unicode_list_file fuzz_filter_file fuzz_cp932 fuzz_settings_file
  fuzz_list_name fuzz_text_import fuzz_search
  fuzz_filter_engine fuzz_list_merge)

work=$(mktemp -d "${TMPDIR:-/tmp}/pellix-fuzz.XXXXXX")
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:symbolize=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

failed=()
for target in "${targets[@]}"; do
  binary=$build/tests/fuzz/$target
  if [[ ! -x $binary ]]; then
    echo "missing $binary: build the \"fuzz\" preset first" >&2
    failed+=("$target (not built)")
    continue
  fi
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  log=$work/$target/log
  echo "== $target: ${seconds}s"
  # The first corpus folder receives what the run discovers; the seeds are only read. The outer
  # timeout is a backstop should libFuzzer itself hang.
  status=0
  timeout --kill-after=10 $((seconds + 60)) "$binary" \
    -max_total_time="$seconds" -timeout=5 -max_len=4096 -rss_limit_mb=2048 \
    -artifact_prefix="$work/$target/artifacts/" -print_final_stats=1 \
    "$work/$target/corpus" "$seeds/$target" >"$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::new_units_added)' "$log" || true
  reports=$(grep -cE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|check failed:' \
    "$log" || true)
  artifacts=$(find "$work/$target/artifacts" -type f | wc -l)
  if [[ $status -ne 0 || $reports -ne 0 || $artifacts -ne 0 ]]; then
    echo "!! $target failed (exit $status, $reports report lines, $artifacts saved inputs)"
    grep -E -A 30 'ERROR:|runtime error:|check failed:' "$log" | head -60 || true
    find "$work/$target/artifacts" -type f -exec sh -c 'echo "input $1:"; od -An -tx1 "$1" | head -20' _ {} \;
    failed+=("$target")
  fi
done

if [[ ${#failed[@]} -ne 0 ]]; then
  echo "fuzz smoke FAILED: ${failed[*]}; logs and inputs kept in $work" >&2
  exit 1
fi
rm -rf "$work"
echo "fuzz smoke passed: ${#targets[@]} targets, ${seconds}s each"
