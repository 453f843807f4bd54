#!/usr/bin/env bash
# Runs the whole test suite of a build made with AddressSanitizer and
# UndefinedBehaviorSanitizer; the first report of either ends the test that
# made it.
#   test-sanitize.sh BUILD JOBS
set -euo pipefail
cd "$1"
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j "$2"
