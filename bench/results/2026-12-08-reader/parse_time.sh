#!/usr/bin/env bash
# The reader alone, before and after, in turns: bench/parse_time of two
# builds on the 101.5 MB file of parse.sh, ROUNDS rounds of 3 runs each.
# usage: parse_time.sh BEFORE_BUILD AFTER_BUILD [ROUNDS]
set -u
f=/tmp/vetrix-parse-big.cnf
for ((r = 1; r <= ${3:-3}; r++)); do
  for b in "$1" "$2"; do
    echo "== $b ($(cat "$b/COMMIT")) round $r, load $(cut -d' ' -f1-3 /proc/loadavg)"
    /usr/bin/time -f 'process: %e s wall, %U s user, %S s sys, %M KB' nice "$b/bench/parse_time" "$f" 3
  done
done
