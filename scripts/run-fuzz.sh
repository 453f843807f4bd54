#!/usr/bin/env bash
# Fuzzes each target for the given number of seconds, one after the other,
# starting from its seeds and from what earlier runs found interesting
# (BUILD/fuzz-corpus/TARGET). Fails when any target reports a finding; the
# input is kept in BUILD/fuzz-findings/TARGET. A finding becomes a
# regression test by fixing it and copying the input to
# tests/data/fuzz/TARGET/findings/.
#   run-fuzz.sh BUILD SECONDS TARGET...
set -uo pipefail
build=$(realpath "$1")
seconds=$2
shift 2

failed=()
for target in "$@"; do
  corpus=$build/fuzz-corpus/$target
  findings=$build/fuzz-findings/$target
  log=$build/fuzz-logs/$target.log
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  read -r -a seeds < "$build/fuzz-seeds/$target"
  echo "Fuzzing $target for ${seconds}s (log: $log)"
  # A per-input time limit of 10 s and 2 GB of memory in all; the targets
  # themselves refuse single allocations above 64 MB (fuzz/AllocationCap.cpp).
  ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$build/bin/tvlc_fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" > "$log" 2>&1
  status=$?
  grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" | tail -3
  if [ $status -ne 0 ]; then
    echo "FINDING in $target:"
    grep -E 'ERROR|FINDING|terminate|Test unit written' "$log" | head -5
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo "Fuzzing found faults in: ${failed[*]}"
  exit 1
fi
echo "Fuzzing found nothing."
