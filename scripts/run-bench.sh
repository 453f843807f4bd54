#!/usr/bin/env bash
# Runs the benchmarks; extra arguments go to Google Benchmark
# (e.g. --benchmark_filter=Dct).
set -euo pipefail
build=${1:-build}
shift || true
exec "$build/bin/tvlc_bench" "$@"
