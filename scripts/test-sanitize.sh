#!/usr/bin/env bash
# Runs the whole test suite of a build made with AddressSanitizer and
# UndefinedBehaviorSanitizer; the first report of either ends the test that
# made it. A failed malloc returns null as the C library's does, since the
# out-of-memory tests of the modules expect exactly that.
#   test-sanitize.sh BUILD JOBS
set -euo pipefail
cd "$1"
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j "$2"
