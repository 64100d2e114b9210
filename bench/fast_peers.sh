#!/usr/bin/env bash
# The fast engine (bench/fast_solve) beside MiniSat and CaDiCaL on one tier
# of the benchmark corpus: per instance the solvers take turns, so that a
# change in the machine's load falls on each alike. Wall and CPU seconds of
# every run, the verdict checked against MANIFEST.tsv and every model with
# the corpus's check_model.py.
#
# usage: bench/fast_peers.sh [-t SECONDS] [-b FAST_SOLVE] [-s LIST] [-o DIR] [TIER]
#
#   TIER   small | medium | hard (default hard)
#   -C S   a CPU-time limit per run as well (ulimit -t); on a shared machine
#          it keeps a starved run from timing out on wall time first
#   -t S   limit per instance and solver (default 60)
#   -b B   the fast_solve binary (default build/bench/fast_solve, built with
#          -DVETRIX_BENCH=ON)
#   -s L   solvers, comma-separated, from fast minisat cadical (default all)
#   -o D   where raw.tsv, machine.txt and report.md go
#          (default bench/results/DATE-COMMIT-fast-TIER)
#
# raw.tsv: solver, path, expected, verdict (SAT, UNSAT, TIMEOUT, ERROR),
# wall_s, cpu_s (user + system), model (ok, FAIL, -), propagations (as each
# solver counts them: MiniSat with -verb=1, CaDiCaL's statistics) and, for
# the fast engine, watch-list visits. machine.txt: the load average before
# and after. report.md: bench/fast_summary.py's tables.
set -u -o pipefail
export LC_ALL=C
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
limit=60; fast="$ROOT/build/bench/fast_solve"; solvers="fast,minisat,cadical"; outdir=""
cpu_limit=unlimited
while getopts "C:t:b:s:o:h" opt; do
  case $opt in
    C) cpu_limit=$OPTARG ;; t) limit=$OPTARG ;; b) fast=$OPTARG ;; s) solvers=$OPTARG ;; o) outdir=$OPTARG ;;
    *) sed -n '2,20p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
tier=${1:-hard}
corpus="${VETRIX_CORPUS:-$ROOT/../shared/bench}"
[[ -f "$corpus/MANIFEST.tsv" ]] || { echo "fast_peers.sh: no corpus at $corpus" >&2; exit 2; }
[[ -x "$fast" ]] || { echo "fast_peers.sh: no $fast (cmake -DVETRIX_BENCH=ON, target fast_solve)" >&2; exit 2; }
commit=$(git -C "$ROOT" rev-parse --short HEAD)
outdir=${outdir:-$ROOT/bench/results/$(date -u +%F)-$commit-fast-$tier}
mkdir -p "$outdir"
IFS=, read -r -a solver_list <<< "$solvers"
scratch=$(mktemp -d); trap 'rm -rf "$scratch"' EXIT

command_of() { # solver file
  case $1 in
    fast) echo "$fast $2" ;;
    minisat) echo "minisat -verb=1 $2 $scratch/minisat.res" ;;
    cadical) echo "cadical $2" ;;
  esac
}

{ echo "start: $(date -u +%FT%TZ) load: $(cut -d' ' -f1-3 /proc/loadavg)"; echo "cores: $(nproc)"
  echo "command: bench/fast_peers.sh -C $cpu_limit -t $limit -s $solvers $tier"; } > "$outdir/machine.txt"
printf 'solver\tpath\texpected\tverdict\twall_s\tcpu_s\tmodel\tpropagations\tvisits\n' > "$outdir/raw.tsv"
awk -F'\t' -v t="$tier" '$8 == t { print $1 "\t" $5 }' "$corpus/MANIFEST.tsv" |
while IFS=$'\t' read -r path expected; do
  for s in "${solver_list[@]}"; do
    rm -f "$scratch/minisat.res"
    (ulimit -t "$cpu_limit"; exec /usr/bin/time -f '%e %U %S' -o "$scratch/time" timeout "$limit" $(command_of "$s" "$corpus/$path") \
      > "$scratch/out" 2>"$scratch/err")
    rc=$?
    props=$(cat "$scratch/out" "$scratch/err" | awk '/^c propagations:|^propagations/ { gsub(/[^0-9 ]/, " "); print $1; exit }')
    visits=$(awk '/^c watch_visits:/ { print $3; exit }' "$scratch/err")
    read -r wall user sys < <(tail -n 1 "$scratch/time")
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
    if [[ $s == minisat && -f $scratch/minisat.res ]]; then
      case $(head -n 1 "$scratch/minisat.res") in
        SAT) { echo "s SATISFIABLE"; tail -n +2 "$scratch/minisat.res" | sed 's/^/v /'; } > "$scratch/out" ;;
        UNSAT) echo "s UNSATISFIABLE" > "$scratch/out" ;;
      esac
    fi
    case $(grep -m1 '^s ' "$scratch/out") in
      "s SATISFIABLE") verdict=SAT ;; "s UNSATISFIABLE") verdict=UNSAT ;;
      *) [[ $rc == 124 || $rc == 152 || $rc == 137 ]] && verdict=TIMEOUT || verdict="ERROR($rc)" ;;
    esac
    model=-
    if [[ $verdict == SAT ]]; then
      python3 "$corpus/check_model.py" -q "$corpus/$path" "$scratch/out" >/dev/null 2>&1 && model=ok || model=FAIL
    fi
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$s" "$path" "$expected" "$verdict" "$wall" "$cpu" "$model" \
      "${props:--}" "${visits:--}" >> "$outdir/raw.tsv"
  done
done
echo "end: $(date -u +%FT%TZ) load: $(cut -d' ' -f1-3 /proc/loadavg)" >> "$outdir/machine.txt"
python3 "$ROOT/bench/fast_summary.py" "$outdir" | tee "$outdir/report.md"
