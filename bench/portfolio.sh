#!/usr/bin/env bash
# The portfolio against each strategy alone and the peers, on a tier, in one
# run: the singles and the peers two at a time (one per core), then
# `--portfolio` alone on the machine, each under the same wall-time limit.
#
# usage: bench/portfolio.sh [-t SECONDS] [-o DIR] [-b BUILD_DIR] TARGET...
#
#   -t SECONDS  wall-time limit per instance and solver (default 60)
#   -o DIR      result directory (default /tmp/vetrix-portfolio-<date>)
#   -b DIR      the vetrix build (default build-bench; see build.sh)
#   TARGET      as for throughput.sh (a tier, a family or a list file)
#
# DIR/single-a and DIR/single-b hold the two halves of the single runs,
# DIR/portfolio the portfolio's (throughput.sh result directories: raw.tsv,
# lanes.tsv, run-info.txt); DIR/raw.tsv and DIR/lanes.tsv join them and
# DIR/report.md holds the tables of bench/portfolio_tables.py.
set -u -o pipefail
export LC_ALL=C
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
tlimit=60; outdir="/tmp/vetrix-portfolio-$(date +%Y%m%d-%H%M%S)"; build="$ROOT/build-bench"
corpus="${VETRIX_CORPUS:-$ROOT/../shared/bench}"
while getopts "t:o:b:h" opt; do
  case $opt in t) tlimit=$OPTARG ;; o) outdir=$OPTARG ;; b) build=$OPTARG ;; *) sed -n '2,16p' "$0" >&2; exit 2 ;; esac
done
shift $((OPTIND - 1))
[[ $# -ge 1 ]] || { sed -n '2,16p' "$0" >&2; exit 2; }
mkdir -p "$outdir"; outdir="$(cd "$outdir" && pwd -P)"

"$ROOT/bench/select_instances.sh" "$corpus/MANIFEST.tsv" "$@" |
  awk -F'\t' 'NR == 1 { for (i = 1; i <= NF; i++) c[$i] = i; next } { print $c["path"] }' > "$outdir/instances"
awk 'NR % 2 == 1' "$outdir/instances" > "$outdir/instances-a"
awk 'NR % 2 == 0' "$outdir/instances" > "$outdir/instances-b"

tp() { "$ROOT/bench/throughput.sh" -t "$tlimit" -v "now=$build" -c "$corpus" "$@" > /dev/null; }
tp -S 0,1,2 -o "$outdir/single-a" "$outdir/instances-a" &
tp -S 0,1,2 -o "$outdir/single-b" "$outdir/instances-b" &
wait
tp -S P -p "" -o "$outdir/portfolio" "$outdir/instances"

for f in raw.tsv lanes.tsv; do
  { head -n 1 "$outdir/portfolio/$f"; tail -q -n +2 "$outdir"/{single-a,single-b,portfolio}/"$f"; } > "$outdir/$f"
done
{ echo "command: bench/portfolio.sh -t $tlimit $*"; echo "build: $build, commit $(cat "$build/COMMIT" 2>/dev/null || echo '?')"
  echo "singles and peers two at a time; the portfolio alone afterwards"
  cat "$outdir/single-a/run-info.txt"; } > "$outdir/run-info.txt"
python3 "$ROOT/bench/portfolio_tables.py" "$outdir" | tee "$outdir/report.md"
