#!/bin/bash
# Incremental calls per second: bench/ipasir_calls.c, one program written
# against the standard IPASIR calls, linked against this build's libvetrix
# (its default, the fast engine; as vetrix-warm with warm start) and against CaDiCaL's
# libcadical.a (Debian's libcadical-dev), run in turn REPEATS times.
#
#   bench/ipasir_calls.sh [-b BUILD] [-r REPEATS] [-c CALLS] [-o OUT.tsv]
#
# OUT.tsv (default: standard output) holds one row per run and workload:
# solver, run, workload, calls, checksum, CPU seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$here/../build repeats=3 calls=3000 out=/dev/stdout
while getopts b:r:c:o: opt; do
  case $opt in
    b) build=$OPTARG ;; r) repeats=$OPTARG ;; c) calls=$OPTARG ;; o) out=$OPTARG ;;
    *) exit 2 ;;
  esac
done
cadical=/usr/lib/x86_64-linux-gnu/libcadical.a
[ -f "$cadical" ] || { echo "libcadical.a not found: apt-get install libcadical-dev" >&2; exit 2; }
cmake --build "$build" --target vetrix_core >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
libs=$(pkg-config --static --libs zlib liblzma bzip2 2>/dev/null || echo "-lz -llzma -lbz2")
gcc -O2 -I"$here/../include" -o "$work/vetrix" "$here/ipasir_calls.c" "$build/libvetrix.a" $libs -lstdc++ -lm -lpthread
gcc -O2 -I"$here/../include" -DVETRIX_WARM -o "$work/vetrix-warm" "$here/ipasir_calls.c" "$build/libvetrix.a" $libs -lstdc++ -lm -lpthread
gcc -O2 -I"$here/../include" -o "$work/cadical" "$here/ipasir_calls.c" "$cadical" -lstdc++ -lm
{
  printf 'solver\trun\tworkload\tcalls\tchecksum\tseconds\n'
  for run in $(seq "$repeats"); do
    for solver in vetrix vetrix-warm cadical; do
      "$work/$solver" "$calls" 2>/dev/null | sed "s/^/$solver\t$run\t/"
    done
  done
} > "$out"
