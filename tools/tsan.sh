#!/bin/bash
# Builds the library and its thread test with ThreadSanitizer into
# build-tsan and runs the thread test there: solves in several threads at
# once. Any report fails the run.
# Usage: tools/tsan.sh [extra gtest arguments]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-tsan"
jobs=${JOBS:-1}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVETRIX_TESTS=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread
nice -n 10 cmake --build "$build" -j "$jobs" --target vetrix_thread_tests

export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:exitcode=66}
"$build/tests/api/vetrix_thread_tests" "$@"
