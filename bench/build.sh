#!/usr/bin/env bash
# Build the vetrix binary and the bench drivers that the measurements use.
#
# usage: bench/build.sh [--tree | --commit REV] [BUILD_DIR]
#
# By default the committed HEAD (or REV) is exported (git archive) to a private
# source copy under /tmp, the working copy of bench/ is laid over it, and
# that is built in Release mode into BUILD_DIR (default: build-bench at the
# repository root). Edits in progress elsewhere in the tree therefore never
# end up in a measured binary, and BUILD_DIR/COMMIT names the commit that was
# built. With --tree the working tree is built as it is (COMMIT then carries
# a "+dirty" mark when the tree differs from HEAD).
#
# Targets: vetrix, parse_time and, when Google Benchmark is
# found, micro_solve (see bench/README.md).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
tree=0; rev=HEAD
if [[ "${1:-}" == "--tree" ]]; then tree=1; shift
elif [[ "${1:-}" == "--commit" ]]; then rev="$2"; shift 2; fi
BUILD="${1:-$ROOT/build-bench}"
mkdir -p "$BUILD"; BUILD="$(cd "$BUILD" && pwd -P)"
hash="$(git -C "$ROOT" rev-parse --short "$rev")"
if [[ $tree == 1 ]]; then
  src="$ROOT"
  if [[ -n "$(git -C "$ROOT" status --porcelain -- . ':!bench' 2>/dev/null)" ]]; then hash="$hash+dirty"; fi
else
  src="/tmp/vetrix-bench-src-$hash"
  rm -rf "$src"; mkdir -p "$src"
  git -C "$ROOT" archive "$rev" | tar -x -C "$src"
  rm -rf "$src/bench"; cp -r "$ROOT/bench" "$src/bench"
fi
# a build dir configured from another source copy must start afresh
if [[ -f "$BUILD/CMakeCache.txt" ]] && ! grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$src" "$BUILD/CMakeCache.txt"; then
  rm -rf "$BUILD"; mkdir -p "$BUILD"
fi
cmake -S "$src" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DVETRIX_TESTS=OFF -DVETRIX_BENCH=ON >/dev/null
cmake --build "$BUILD" -j "$(nproc)" >/dev/null
last="$(git -C "$ROOT" log -1 --format=%h "$rev" -- . ':!bench')"
if [[ "$last" != "${hash%+dirty}" ]]; then hash="$hash (solver sources as of $last)"; fi
echo "$hash" > "$BUILD/COMMIT"
echo "built $BUILD/vetrix from $hash (source $src)" >&2
