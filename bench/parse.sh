#!/usr/bin/env bash
# Parse throughput of vetrix against MiniSat on a CNF file of over 100 MB.
#
# usage: bench/parse.sh [-b BUILD_DIR] [-r REPEATS]
#
#   -b BUILD_DIR  where vetrix and bench/parse_time are (default build-bench;
#                 see build.sh)
#   -r REPEATS    runs per program, taken in turns (default 3); the best and
#                 the median are reported
#
# The file (/tmp/vetrix-parse-big.cnf, made once by gen_big.py, 101.5 MB):
# random 3-CNF with 999,999 variables (6-digit literals, the reader's
# largest) and 4,200,000 clauses, then the two clauses "1 0" and "-1 0" at
# the end. The random part is far too large to solve at this density; the
# contradiction makes each run end right after reading:
# - MiniSat adds unit clauses at once while reading, so "-1 0" makes the
#   formula inconsistent on the spot and solve() returns UNSAT without
#   search (its simplifier does not run on an inconsistent formula):
#   `minisat -verb=0 FILE` is reading time plus process start and exit.
# - vetrix's reader notes every unit clause; "-1 0" after "1 0" makes the
#   formula unsatisfiable whatever the strategy, the clauses read so far are
#   given back and the verdict comes without search: `vetrix FILE` is
#   reading (storing every clause until the pair) plus process start and
#   exit.
# End-to-end MB/s = file size / wall time of the whole process. vetrix's
# reading alone is timed by bench/parse_time (reading the file block by block
# into the formula, then the set-up), which gives the reader's own MB/s.
# 1 MB = 10^6 bytes. The file is read once before the runs so that every run
# reads from the page cache.
set -u -o pipefail
export LC_ALL=C
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
build="$ROOT/build-bench"; repeats=3
while getopts "b:r:h" opt; do
  case $opt in
    b) build=$OPTARG ;; r) repeats=$OPTARG ;;
    *) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "${BASH_SOURCE[0]}" >&2; exit 2 ;;
  esac
done
vetrix="$build/vetrix"; ptime="$build/bench/parse_time"
[[ -x "$vetrix" ]] || { echo "parse.sh: no $vetrix (run bench/build.sh)" >&2; exit 2; }
command -v minisat >/dev/null || apt-get install -y minisat >/dev/null 2>&1 || { echo "parse.sh: need minisat" >&2; exit 2; }
[[ -x /usr/bin/time ]] || apt-get install -y time >/dev/null 2>&1 || { echo "parse.sh: need /usr/bin/time (package time)" >&2; exit 2; }

big=/tmp/vetrix-parse-big.cnf
if [[ ! -s $big ]]; then
  echo "generating $big ..." >&2
  python3 "$ROOT/bench/gen_big.py" --seed 1 --contradiction 999999 4200000 "$big"
fi
bytes=$(stat -c %s "$big")
cat "$big" > /dev/null

echo "vetrix: $vetrix (commit $(cat "$build/COMMIT" 2>/dev/null || echo unknown))"
echo "date: $(date -u '+%Y-%m-%d %H:%M:%S UTC'), cores: $(nproc), load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "file: $big, $bytes bytes, $(sed -n 2p "$big")"
echo
res=$(mktemp); trap 'rm -f "$res"' EXIT
for ((r = 1; r <= repeats; r++)); do
  for who in vetrix minisat; do
    log=$(mktemp)
    so=$(mktemp)
    if [[ $who == vetrix ]]; then
      /usr/bin/time -f '%e %M' -o "$log" "$vetrix" "$big" >"$so" 2>/dev/null
    else
      /usr/bin/time -f '%e %M' -o "$log" minisat -verb=0 "$big" >"$so" 2>/dev/null
    fi
    out=$(grep -m1 -E 'SATISFIABLE|UNKNOWN' "$so"); rm -f "$so"
    read -r wall kb < <(tail -n 1 "$log")
    echo "$who $wall $kb ${out#s }" >> "$res"
    rm -f "$log"
  done
done
echo "| program | command | runs | best s | median s | MB/s (best) | MB/s (median) | peak RSS MB | verdict |"
echo "|---|---|---:|---:|---:|---:|---:|---:|---|"
awk -v bytes="$bytes" -v big="$big" '
  { t[$1, ++n[$1]] = $2; kb[$1] = $3; v[$1] = $4 }
  END {
    split("vetrix minisat", w, " ")
    cmd["vetrix"] = "vetrix FILE"; cmd["minisat"] = "minisat -verb=0 FILE"
    for (i = 1; i <= 2; i++) {
      s = w[i]; m = n[s]
      for (a = 1; a <= m; a++) x[a] = t[s, a]
      for (a = 1; a <= m; a++) for (b = a + 1; b <= m; b++) if (x[b] < x[a]) { y = x[a]; x[a] = x[b]; x[b] = y }
      med = (m % 2) ? x[(m + 1) / 2] : (x[m / 2] + x[m / 2 + 1]) / 2
      best[s] = x[1]; md[s] = med
      printf "| %s | `%s` | %d | %.2f | %.2f | %.1f | %.1f | %.0f | %s |\n", s, cmd[s], m, x[1], med, bytes / 1e6 / x[1], bytes / 1e6 / med, kb[s] / 1024, v[s]
    }
    printf "\nend-to-end time ratio vetrix/minisat: %.2f (best), %.2f (median)\n", best["vetrix"] / best["minisat"], md["vetrix"] / md["minisat"]
  }' "$res"
echo
if [[ -x "$ptime" ]]; then
  echo "vetrix's reading alone, best of $repeats (bench/parse_time):"
  echo '```'
  "$ptime" "$big" "$repeats"
  echo '```'
else
  echo "(no $ptime: configure with -DVETRIX_BENCH=ON, or run bench/build.sh)"
fi
