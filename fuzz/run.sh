#!/usr/bin/env bash
# fuzz/run.sh <build folder>
# Configures and builds the libFuzzer targets with clang in <build folder>, replays the
# committed seed corpora, then fuzzes each target for KORVANE_FUZZ_SECONDS seconds (30 by
# default; 0 replays only). Fails on any crash, sanitizer report, leak, broken check or
# input slower than KORVANE_FUZZ_TIMEOUT seconds (5 by default). What the fuzzing finds
# stays in <build folder>/fuzz-corpus (reused by the next run, never committed); failing
# inputs go to <build folder>/fuzz-artifacts.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
[[ $# -eq 1 ]] || { echo "usage: $0 <build folder>" >&2; exit 2; }
folder=$(realpath -m "$1")
seconds=${KORVANE_FUZZ_SECONDS:-30}
timeout=${KORVANE_FUZZ_TIMEOUT:-5}
jobs=$(nproc)

# target:max_len:dictionary. Inputs may be short: the encoding's repeat codes make long
# texts out of a few bytes.
targets=(
  parse_quantity_fuzz:1024:quantity.dict
  format_quantity_fuzz:16:
  snap_to_series_fuzz:16:
  commands_fuzz:2048:quantity.dict
  preferred_value_search_fuzz:160:
  csv_batch_fuzz:4096:csv.dict
  opamp_catalogue_fuzz:32768:catalogue.dict
  stage_settings_fuzz:1024:quantity.dict
)

echo "== $folder (fuzzers, ${seconds}s each)"
CC=clang CXX=clang++ "$root/scripts/configure.sh" "$folder" \
  -DKORVANE_FUZZ=ON -DKORVANE_BUILD_UI=OFF -DBUILD_TESTING=OFF
cmake --build "$folder" -j"$jobs" --target "${targets[@]%%:*}"

# Leak checking is libFuzzer's own; keep the sanitizers halting on the first report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

failed=()
for entry in "${targets[@]}"; do
  IFS=: read -r target max_len dictionary <<<"$entry"
  binary=$folder/bin/$target
  seeds=$here/corpus/$target
  found=$folder/fuzz-corpus/$target
  artifacts=$folder/fuzz-artifacts/$target
  log=$folder/fuzz-logs/$target.log
  mkdir -p "$found" "$artifacts" "$(dirname "$log")"
  options=(-timeout="$timeout" -rss_limit_mb=2048 -max_len="$max_len"
           -artifact_prefix="$artifacts/" -print_final_stats=1)
  if [[ -n $dictionary ]]; then options+=(-dict="$here/$dictionary"); fi

  # Replay: every committed seed runs once, whatever the time budget.
  if ! "$binary" "${options[@]}" -runs=0 "$seeds" >"$log" 2>&1; then
    echo "FAIL $target: a committed seed fails (log: $log)"
    tail -n 40 "$log"
    failed+=("$target")
    continue
  fi
  if [[ $seconds -gt 0 ]]; then
    # New entries go to the first folder, the scratch one; the seeds are only read.
    if ! "$binary" "${options[@]}" -max_total_time="$seconds" "$found" "$seeds" \
        >>"$log" 2>&1; then
      echo "FAIL $target (log: $log; failing input in $artifacts)"
      tail -n 60 "$log"
      failed+=("$target")
      continue
    fi
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*$')
  echo "ok   $target: ${runs:-?} inputs, corpus $(ls "$found" | wc -l) found + $(ls "$seeds" | wc -l) seeds"
done

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
