#!/usr/bin/env bash
# Big inputs: vetrix against MiniSat, CaDiCaL and PicoSAT on a 193 MB random
# 3-CNF, time and peak RSS, in turns within one run.
#
# usage: bench/big_inputs.sh [-b BUILD_DIR] [-o OLD_BUILD_DIR] [-s N] [-S N] [-r REPEATS]
#
#   -b BUILD_DIR      vetrix and bench/parse_time to measure (default build-bench)
#   -o OLD_BUILD_DIR  an older build measured beside it ("before")
#   -s N              vetrix's strategy (default 0)
#   -S N              the older build's strategy (default: the same)
#   -r REPEATS        rounds, each running every program once (default 3);
#                     the median wall time and the largest RSS are reported
#
# The files (made once by gen_big.py in /tmp, 900,000 variables, 8,000,000
# clauses: 7,999,998 random 3-clauses and the two clauses "1 0", "-1 0"):
#   A  /tmp/vetrix-big-first.cnf  the two unit clauses first
#   B  /tmp/vetrix-big-last.cnf   the two unit clauses last
#   Axz /tmp/vetrix-big-first.cnf.xz  A compressed by xz; vetrix and CaDiCaL
#       read it directly, MiniSat and PicoSAT through `xz -dc FILE |`.
# vetrix's reader meets the contradiction when it reads the second unit
# clause, whatever the strategy: it stores no clause from then on (file A:
# none at all) and answers without search. (Builds before that rule took
# strategy 2, which decided variable 1 first and met it at once: -S 2.)
# MiniSat and PicoSAT meet it while adding clauses; every program still
# reads the whole file.
# bench/parse_time then gives vetrix's reading alone (MB/s of text) and its
# set-up of the whole cube base, best of REPEATS. 1 MB = 10^6 bytes.
set -u -o pipefail
export LC_ALL=C
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
build="$ROOT/build-bench"; old=""; repeats=3; strategy=0; old_strategy=""
while getopts "b:o:s:S:r:h" opt; do
  case $opt in
    b) build=$OPTARG ;; o) old=$OPTARG ;; r) repeats=$OPTARG ;;
    s) strategy=$OPTARG ;; S) old_strategy=$OPTARG ;;
    *) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "${BASH_SOURCE[0]}" >&2; exit 2 ;;
  esac
done
for tool in minisat cadical picosat xz /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "big_inputs.sh: need $tool" >&2; exit 2; }
done

first=/tmp/vetrix-big-first.cnf; last=/tmp/vetrix-big-last.cnf
[[ -s $first ]] || python3 "$ROOT/bench/gen_big.py" --contradiction-first 900000 7999998 "$first"
[[ -s $last ]] || python3 "$ROOT/bench/gen_big.py" --contradiction 900000 7999998 "$last"
[[ -s $first.xz ]] || xz -k -1 -T2 "$first" # level 1: quickest to make
cat "$first" "$last" "$first.xz" > /dev/null # into the page cache

echo "vetrix: $build/vetrix (commit $(cat "$build/COMMIT" 2>/dev/null || echo unknown)), strategy $strategy"
[[ -n $old ]] && echo "before: $old/vetrix (commit $(cat "$old/COMMIT" 2>/dev/null || echo unknown)), strategy ${old_strategy:-$strategy}"
echo "date: $(date -u '+%Y-%m-%d %H:%M:%S UTC'), cores: $(nproc), load: $(cut -d' ' -f1-3 /proc/loadavg)"
for f in "$first" "$last" "$first.xz"; do echo "file: $f, $(stat -c %s "$f") bytes"; done
echo

# One program on one file: "FILE PROGRAM WALL KB VERDICT" into $res.
res=$(mktemp); trap 'rm -f "$res"' EXIT
run() {
  local file=$1 who=$2; shift 2
  local log so
  log=$(mktemp); so=$(mktemp)
  /usr/bin/time -f '%e %M' -o "$log" "$@" >"$so" 2>/dev/null
  echo "$file $who $(tail -n 1 "$log") $(grep -m1 -oE 'UNSATISFIABLE|SATISFIABLE|UNKNOWN' "$so" || echo none)" >>"$res"
  rm -f "$log" "$so"
}
for ((r = 1; r <= repeats; r++)); do
  for key in A B Axz; do
    case $key in A) f=$first ;; B) f=$last ;; Axz) f=$first.xz ;; esac
    run $key vetrix "$build/vetrix" "$f" "$strategy"
    [[ -n $old && $key != Axz ]] && run $key before "$old/vetrix" "$f" "${old_strategy:-$strategy}"
    if [[ $key == Axz ]]; then
      run $key minisat sh -c "xz -dc '$f' | minisat -verb=0"
      run $key picosat sh -c "xz -dc '$f' | picosat"
    else
      run $key minisat minisat -verb=0 "$f"
      run $key picosat picosat "$f"
    fi
    run $key cadical cadical -q "$f"
  done
done

echo "| file | program | runs | median wall s | ratio to MiniSat | peak RSS MB | verdict |"
echo "|---|---|---:|---:|---:|---:|---|"
awk '
  { k = $1 SUBSEP $2; n[k]++; t[k, n[k]] = $3; if ($4 > kb[k]) kb[k] = $4; v[k] = $5; seen[$1] = 1; who[$2] = 1 }
  function median(k,   m, a, b, x, y) {
    m = n[k]; for (a = 1; a <= m; a++) x[a] = t[k, a]
    for (a = 1; a <= m; a++) for (b = a + 1; b <= m; b++) if (x[b] < x[a]) { y = x[a]; x[a] = x[b]; x[b] = y }
    return (m % 2) ? x[(m + 1) / 2] : (x[m / 2] + x[m / 2 + 1]) / 2
  }
  END {
    split("A B Axz", files, " "); split("vetrix before minisat cadical picosat", progs, " ")
    for (i = 1; i <= 3; i++) {
      f = files[i]; base = median(f SUBSEP "minisat")
      for (j = 1; j <= 5; j++) {
        k = f SUBSEP progs[j]; if (!(k in n)) continue
        md = median(k)
        printf "| %s | %s | %d | %.2f | %.2f | %.0f | %s |\n", f, progs[j], n[k], md, md / base, kb[k] / 1024, v[k]
      }
    }
  }' "$res"
echo
echo "vetrix's reading and set-up alone, best of $repeats (bench/parse_time):"
echo '```'
for f in "$first" "$last" "$first.xz"; do "$build/bench/parse_time" "$f" "$repeats"; done
echo '```'
