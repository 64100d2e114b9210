#!/bin/bash
# Builds the Debian package of a built folder (`cpack -G DEB`), checks its
# name, contents and declared dependencies, unpacks it with `dpkg-deb -x`
# into a scratch folder and uses it from there as a user would: the unpacked
# program on the shipped example, and examples/embed built against the
# unpacked library through its CMake package and through vetrix.pc.
# Usage: tools/check_deb.sh BUILD_DIR   (a build configured with -DBUILD_SHARED_LIBS=ON)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "check_deb: $*"; exit 1; }

version=$("$build/vetrix" --version)
version=${version#vetrix } major=${version%%.*}
deb=$build/vetrix_${version}_$(dpkg --print-architecture).deb
rm -f "$deb"
(cd "$build" && cpack -G DEB >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; fail "cpack failed"; }
[ -f "$deb" ] || fail "cpack made no $(basename "$deb")"

# Contents: the program, the shared library, every public header, the CMake
# package, vetrix.pc and the manual page.
contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
want=(./usr/bin/vetrix "./usr/lib/libvetrix.so.$major" ./usr/lib/cmake/vetrix/vetrixConfig.cmake
  ./usr/lib/cmake/vetrix/vetrixConfigVersion.cmake ./usr/lib/pkgconfig/vetrix.pc ./usr/share/man/man1/vetrix.1)
for header in "$root"/include/vetrix/*.h; do
  want+=("./usr/include/vetrix/$(basename "$header")")
done
for file in "${want[@]}"; do
  grep -qxF "$file" <<<"$contents" || fail "$(basename "$deb") lacks $file"
done

# Dependencies: the package of every library the program and the shared
# library need.
depends=$(dpkg-deb -f "$deb" Depends)
depends_names=$(sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends")
needed=$(objdump -p "$build/vetrix" "$build/libvetrix.so.$major" | awk '$1 == "NEEDED" { print $2 }' | sort -u)
for library in $needed; do
  case $library in
    libc.so.6 | libm.so.6) package=libc6 ;;
    libstdc++.so.6) package=libstdc++6 ;;
    libgcc_s.so.1) package=libgcc-s1 ;;
    libz.so.1) package=zlib1g ;;
    liblzma.so.5) package=liblzma5 ;;
    libbz2.so.1.0) package=libbz2-1.0 ;;
    *) fail "no package known for $library" ;;
  esac
  grep -qxF "$package" <<<"$depends_names" || fail "Depends: $depends lacks $package (for $library)"
done

dpkg-deb -x "$deb" "$tmp/root"
usr=$tmp/root/usr
export LD_LIBRARY_PATH=$usr/lib
got=$("$usr/bin/vetrix" "$root/examples/small.cnf")
[ "$got" = "$("$build/vetrix" "$root/examples/small.cnf")" ] || fail "unpacked vetrix printed '$got'"

want_embed="satisfiable: -1 -2 3"
cmake -S "$root/examples/embed" -B "$tmp/embed" -DCMAKE_PREFIX_PATH="$usr" >"$tmp/embed.log" 2>&1 &&
  cmake --build "$tmp/embed" >>"$tmp/embed.log" 2>&1 || { cat "$tmp/embed.log"; fail "examples/embed did not build"; }
got=$("$tmp/embed/embed")
[ "$got" = "$want_embed" ] || fail "examples/embed through the CMake package printed '$got'"
ldd "$tmp/embed/embed" | grep -qF "$usr/lib/libvetrix.so.$major" || fail "examples/embed did not load the unpacked library"
export PKG_CONFIG_PATH=$usr/lib/pkgconfig
# shellcheck disable=SC2046 # the flags are separate words
"${CXX:-c++}" -std=c++17 "$root/examples/embed/main.cpp" -o "$tmp/embed-pc" $(pkg-config --cflags --libs vetrix)
got=$("$tmp/embed-pc")
[ "$got" = "$want_embed" ] || fail "examples/embed through vetrix.pc printed '$got'"
echo "$(basename "$deb"): Depends: $depends"
echo "unpacked: vetrix solves examples/small.cnf, examples/embed prints '$want_embed' through the CMake package and vetrix.pc"
