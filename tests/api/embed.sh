#!/bin/bash
# Installs the built tree into a temporary prefix, then builds and runs
# examples/embed against it twice: through the CMake package and through
# vetrix.pc.
# Usage: embed.sh BUILD_DIR SOURCE_DIR CXX_COMPILER
set -euo pipefail
build=$1 source=$2 cxx=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
want="satisfiable: -1 -2 3"

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
cmake -S "$source/examples/embed" -B "$tmp/build" -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_PREFIX_PATH="$tmp/prefix" >/dev/null
cmake --build "$tmp/build" >/dev/null
got=$("$tmp/build/embed")
[ "$got" = "$want" ] || { echo "CMake package build printed '$got'"; exit 1; }

export PKG_CONFIG_PATH="$tmp/prefix/lib/pkgconfig"
# shellcheck disable=SC2046 # the flags are separate words
"$cxx" -std=c++17 "$source/examples/embed/main.cpp" -o "$tmp/embed-pc" $(pkg-config --cflags --libs vetrix)
got=$("$tmp/embed-pc")
[ "$got" = "$want" ] || { echo "pkg-config build printed '$got'"; exit 1; }
echo "installed package: both builds print '$want'"
