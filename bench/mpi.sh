#!/usr/bin/env bash
# vetrix-mpi against one solver of the same engine, on a list of instances.
#
# usage: bench/mpi.sh [-t SECONDS] [-o DIR] [-b BUILD_DIR] LIST
#
#   LIST  one instance a line, relative to the corpus ($VETRIX_CORPUS,
#         default ../shared/bench).
#
# Per instance, each with --time=SECONDS and --stats: the single solve
# (vetrix-mpi without mpirun: one vetrix::Solver of the workers' strategy);
# -np 3, 5 and 9 under mpirun (oversubscribed, loopback), each with its cube
# tree recorded; -np 3 with workers of strategy 1; -np 3 with --proof to a file,
# then dratcheck on that proof (limited to 10 SECONDS). Every run's wall
# time (/usr/bin/time: mpirun's start and end included), the solve's own
# wall time and each rank's CPU time (--stats) and the other counters go to
# DIR/raw.tsv, the trees to DIR/trees/; bench/mpi_summary.py DIR makes
# DIR/report.md from them.
set -u -o pipefail
export LC_ALL=C
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
timeout=20; outdir="/tmp/vetrix-mpi-$(date +%Y%m%d-%H%M%S)"; build="$ROOT/build"
corpus="${VETRIX_CORPUS:-$ROOT/../shared/bench}"
while getopts "t:o:b:h" opt; do
  case $opt in t) timeout=$OPTARG ;; o) outdir=$OPTARG ;; b) build=$OPTARG ;; *) sed -n '2,17p' "$0" >&2; exit 2 ;; esac
done
shift $((OPTIND - 1))
[[ $# -eq 1 ]] || { sed -n '2,17p' "$0" >&2; exit 2; }
list=$1
mpi="$build/driver/mpi/vetrix-mpi"
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
run=(mpirun --oversubscribe --mca btl self,tcp --mca btl_tcp_if_include lo)
mkdir -p "$outdir/trees"
raw="$outdir/raw.tsv"
{
  echo "# date: $(date -u '+%F %T UTC'), commit $(git -C "$ROOT" rev-parse --short HEAD), $(nproc) cores, load at start: $(cut -d' ' -f1-3 /proc/loadavg), timeout $timeout s"
  printf 'instance\tconfig\tstatus\tverdict\twall\tcpu\tsolve_wall\trank0_cpu\tworker_cpu\tcubes\trefuted\tsplit\tpruned\tshared\tmessages\tbytes\tproof_bytes\n'
} >"$raw"

# Runs "$@" under /usr/bin/time; appends one row for instance $1, config $2.
measure() {
  local inst=$1 config=$2 out="$outdir/out" err="$outdir/err" t="$outdir/time"
  shift 2
  /usr/bin/time -f '%e %U %S' -o "$t" "$@" </dev/null >"$out" 2>"$err"
  local status=$?
  local verdict wall cpu
  verdict=$(sed -n 's/^s //p' "$out" | head -1)
  read -r wall user sys < <(tail -1 "$t")
  cpu=$(echo "$user + $sys" | bc)
  stat() { sed -n "s/^c $1 \([0-9.]*\).*/\1/p" "$err" | head -1; }
  local cubes refuted split pruned
  read -r cubes refuted split pruned < <(sed -n 's/^c cubes \([0-9]*\) refuted \([0-9]*\) split \([0-9]*\) pruned \([0-9]*\)/\1 \2 \3 \4/p' "$err")
  local messages bytes
  read -r messages bytes < <(sed -n 's/^c messages \([0-9]*\) bytes \([0-9]*\).*/\1 \2/p' "$err")
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$inst" "$config" "$status" "${verdict:-none}" \
    "$wall" "$cpu" "$(stat wall)" "$(stat 'rank 0 cpu')" "$(stat 'worker cpu')" "${cubes:-}" "${refuted:-}" "${split:-}" "${pruned:-}" \
    "$(stat 'shared clauses')" "${messages:-}" "${bytes:-}" "$(stat 'proof bytes')" >>"$raw"
  tail -1 "$raw"
}

while read -r inst; do
  [[ -z "$inst" || "$inst" == \#* ]] && continue
  f="$corpus/$inst"
  name=$(basename "$inst" .cnf)
  measure "$inst" single "$mpi" --time="$timeout" --stats "$f"
  for np in 3 5 9; do
    measure "$inst" "np$np" "${run[@]}" -np $np "$mpi" --time="$timeout" --stats --tree="$outdir/trees/$name.np$np" "$f"
  done
  measure "$inst" np3-s1 "${run[@]}" -np 3 "$mpi" --time="$timeout" --strategy=1 --stats "$f"
  measure "$inst" np3-proof "${run[@]}" -np 3 "$mpi" --time="$timeout" --stats --proof="$outdir/proof.drat" "$f"
  if grep -q '^s UNSATISFIABLE' "$outdir/out"; then
    measure "$inst" check timeout $((10 * timeout)) "$build/tools/dratcheck" "$f" "$outdir/proof.drat"
  fi
  rm -f "$outdir/proof.drat"
done <"$list"
rm -f "$outdir/out" "$outdir/err" "$outdir/time"
