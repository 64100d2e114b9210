#!/bin/bash
# Time per call and resident memory over long runs of incremental calls:
# bench/long_calls.c, written against the standard IPASIR calls, linked
# against this build's libvetrix and against CaDiCaL's libcadical.a
# (Debian's libcadical-dev); each workload runs in its own process.
#
#   bench/long_calls.sh [-b BUILD] [-c CALLS] [-o OUT.tsv]
#
# OUT.tsv (default: standard output) holds, per solver and workload, the
# rows of the first and the last 10000 calls (calls, CPU microseconds per
# call, resident MB at the window's end) and the answers' checksum.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$here/../build calls=200000 out=/dev/stdout
while getopts b:c:o: opt; do
  case $opt in
    b) build=$OPTARG ;; c) calls=$OPTARG ;; o) out=$OPTARG ;;
    *) exit 2 ;;
  esac
done
cadical=/usr/lib/x86_64-linux-gnu/libcadical.a
[ -f "$cadical" ] || { echo "libcadical.a not found: apt-get install libcadical-dev" >&2; exit 2; }
cmake --build "$build" --target vetrix_core >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
libs=$(pkg-config --static --libs zlib liblzma bzip2 2>/dev/null || echo "-lz -llzma -lbz2")
gcc -O2 -I"$here/../include" -o "$work/vetrix" "$here/long_calls.c" "$build/libvetrix.a" $libs -lstdc++ -lm -lpthread
gcc -O2 -I"$here/../include" -o "$work/cadical" "$here/long_calls.c" "$cadical" -lstdc++ -lm
{
  printf 'solver\tworkload\twindow\tcalls\tus_per_call\trss_mb\n'
  for workload in same clauses activation; do
    for solver in vetrix cadical; do
      "$work/$solver" "$calls" "$workload" | sed "s/^/$solver\t/"
    done
  done
} > "$out"
