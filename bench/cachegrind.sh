#!/usr/bin/env bash
# Repeatable cost of one solve under valgrind's cachegrind: instructions, L1
# data misses, last-level data misses, mispredicted branches, and an estimate
# of cycles from them, for every binary given, on one file and strategy.
# These counts do not move with the load of a shared machine, so they compare
# two builds where timings cannot (a few per cent apart).
#
# usage: bench/cachegrind.sh FILE STRATEGY BINARY...
#
# One line per binary:
#   BINARY Ir <M> D1miss <M> LLmiss <M> mispred <M> est.cycles <M>
# (millions). est.cycles = Ir + 10 D1miss + 100 LLmiss + 15 mispred, a rough
# weighting of the simulated events, meant only for comparing builds.
set -euo pipefail
[[ $# -ge 3 ]] || { sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
command -v valgrind >/dev/null || { echo "cachegrind.sh: valgrind missing (apt-get install -y valgrind)" >&2; exit 2; }
file=$1; strategy=$2; shift 2
for bin in "$@"; do
  valgrind --tool=cachegrind --cache-sim=yes --branch-sim=yes --cachegrind-out-file=/dev/null \
      "$bin" "$file" "$strategy" 2>&1 >/dev/null |
    awk -v b="$bin" '
      function n(s) { gsub(",", "", s); return s + 0 }
      /I +refs/ { i = n($4) } /D1  misses/ { d = n($4) } /LLd misses/ { l = n($4) } /Mispredicts/ { m = n($3) }
      END { printf "%s Ir %.0fM D1miss %.1fM LLmiss %.2fM mispred %.1fM est.cycles %.0fM\n",
                   b, i / 1e6, d / 1e6, l / 1e6, m / 1e6, (i + 10 * d + 100 * l + 15 * m) / 1e6 }'
done
