#!/bin/bash
# Builds vetrix and the test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer (LeakSanitizer included) into build-asan and runs
# the whole ctest suite there. Any sanitizer report fails the run.
# Usage: tools/sanitize.sh [extra ctest arguments]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-asan"
jobs=${JOBS:-1}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVETRIX_SANITIZE=ON -DVETRIX_TESTS=ON
nice -n 10 cmake --build "$build" -j "$jobs"

# halt_on_error and a non-zero exit code make every report a test failure;
# detect_leaks is on by default on Linux and stated here for clarity.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1:abort_on_error=0:exitcode=86}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$build"
nice -n 10 ctest --output-on-failure "$@"
