#!/bin/bash
# Installs the built tree into a temporary prefix and uses it as a program
# that embeds vetrix does: examples/embed built through the CMake package and
# through vetrix.pc; tests/api/host.cpp, whose own functions and globals bear
# the internals' names, built through vetrix.pc. Checks that the library
# defines no global name outside namespace vetrix, the C interface's
# vetrix_* and the standard incremental interface's ipasir_* (a shared one:
# exports nothing else, SONAME libvetrix.so.MAJOR), that it defines
# (exports) each call of the C and IPASIR interfaces, that vetrix.pc gives
# the version `vetrix --version` prints, and that the CMake package refuses
# a request of the major version before or after its own.
# Usage: embed.sh BUILD_DIR SOURCE_DIR CXX_COMPILER
set -euo pipefail
build=$1 source=$2 cxx=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
want="satisfiable: -1 -2 3"
prefix=$tmp/prefix
version=$("$build/vetrix" --version)
version=${version#vetrix } major=${version%%.*}

cmake --install "$build" --prefix "$prefix" >/dev/null
cmake -S "$source/examples/embed" -B "$tmp/build" -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$tmp/build" >/dev/null
got=$("$tmp/build/embed")
[ "$got" = "$want" ] || { echo "CMake package build printed '$got'"; exit 1; }

export PKG_CONFIG_PATH="$prefix/lib/pkgconfig" LD_LIBRARY_PATH="$prefix/lib"
# shellcheck disable=SC2046 # the flags are separate words
"$cxx" -std=c++17 "$source/examples/embed/main.cpp" -o "$tmp/embed-pc" $(pkg-config --cflags --libs vetrix)
got=$("$tmp/embed-pc")
[ "$got" = "$want" ] || { echo "pkg-config build printed '$got'"; exit 1; }
got=$(pkg-config --modversion vetrix)
[ "$got" = "$version" ] || { echo "vetrix.pc says version '$got', vetrix --version '$version'"; exit 1; }
# shellcheck disable=SC2046
"$cxx" -std=c++17 "$source/tests/api/host.cpp" -o "$tmp/host" $(pkg-config --cflags --libs vetrix)
"$tmp/host"

# Global names defined outside vetrix::, vetrix_* and ipasir_*: none; a static library
# also holds the standard library's template code that the compiler emits as
# weak symbols (merged with the program's own copies, never in conflict).
if [ -e "$prefix/lib/libvetrix.a" ]; then
  library=$prefix/lib/libvetrix.a symbols=(nm -g --defined-only -C)
  weak=' [VWu] (([^(]* )?(std|__gnu_cxx)::|DW\.ref\.)'
else
  library=$prefix/lib/libvetrix.so symbols=(nm -D --defined-only -C) weak='^$'
  soname=$(objdump -p "$library" | awk '$1 == "SONAME" { print $2 }')
  [ "$soname" = "libvetrix.so.$major" ] || { echo "SONAME '$soname'"; exit 1; }
fi
defined=$("${symbols[@]}" "$library")
foreign=$(grep -E '^[0-9a-f]+ [A-Za-z] ' <<<"$defined" |
  grep -Ev ' [A-Za-z] (((typeinfo|typeinfo name|vtable|guard variable|VTT) for )|[^ (]+ )?vetrix(::|_)' |
  grep -Ev ' T ipasir_[a-z_]+$' |
  grep -Ev "$weak" || true)
[ -z "$foreign" ] || { echo "global names outside vetrix:: in $library:"; echo "$foreign"; exit 1; }
for call in vetrix_solve vetrix_solve_race vetrix_ipasir_set_strategy vetrix_ipasir_set_warm_start ipasir_signature \
  ipasir_init ipasir_release ipasir_add ipasir_assume ipasir_solve ipasir_val ipasir_failed ipasir_set_terminate \
  ipasir_set_learn; do
  grep -qE "^[0-9a-f]+ T $call\$" <<<"$defined" || { echo "$library does not export $call"; exit 1; }
done

for request in "$((major - 1)).9" "$((major + 1)).0"; do
  mkdir "$tmp/major-$request"
  printf '%s\n' 'cmake_minimum_required(VERSION 3.16)' 'project(major LANGUAGES NONE)' \
    "find_package(vetrix $request CONFIG)" 'if(vetrix_FOUND)' "  message(FATAL_ERROR \"vetrix $request accepted\")" \
    'endif()' >"$tmp/major-$request/CMakeLists.txt"
  cmake -S "$tmp/major-$request" -B "$tmp/major-$request/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null 2>&1 ||
    { echo "find_package(vetrix $request) did not refuse version $version"; exit 1; }
done
echo "installed $(basename "$library") $version: example, pkg-config and host builds print '$want';" \
  "$((major - 1)).9 and $((major + 1)).0 refused"
