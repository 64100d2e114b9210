#!/bin/bash
# Builds the library shared (BUILD_SHARED_LIBS=ON) in BUILD_DIR/shared-check,
# which is kept, so that a later run rebuilds only what changed, and checks
# its installed package as embed.sh checks the static one.
# Usage: shared.sh BUILD_DIR SOURCE_DIR CXX_COMPILER
set -euo pipefail
build=$1 source=$2 cxx=$3
dir=$build/shared-check
log=$dir/build.log
mkdir -p "$dir"
cmake -S "$source" -B "$dir" -DBUILD_SHARED_LIBS=ON -DVETRIX_TESTS=OFF -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_COMPILER="$cxx" >"$log" 2>&1 || { cat "$log"; exit 1; }
cmake --build "$dir" -j2 --target vetrix vetrix_shared >>"$log" 2>&1 || { cat "$log"; exit 1; }
exec "$(dirname "$0")/embed.sh" "$dir" "$source" "$cxx"
