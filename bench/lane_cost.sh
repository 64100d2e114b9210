#!/usr/bin/env bash
# The CPU cost of one strategy's search alone and inside the portfolio, for
# one or more vetrix builds: the per-thread slowdown that threads sharing
# caches and the memory bus bring, and layout changes measured against it.
#
# usage: bench/lane_cost.sh [-r REPS] [-o DIR] LIST LABEL=BUILD_DIR...
#
#   LIST   lines "PATH STRATEGY": an instance (relative to the corpus) and
#          the strategy that wins the portfolio on it, so that its lane does
#          the whole search of the run alone.
#
# Per repetition, instance and build (the builds take turns): `vetrix
# --stats PATH STRATEGY` alone, then `vetrix --portfolio --stats PATH`, whose
# lane of STRATEGY reports its thread's CPU seconds. DIR/raw.tsv holds every
# run; the table printed (and kept in DIR/report.md) gives per build the
# median CPU time alone, inside the portfolio, and their ratio per instance.
set -u -o pipefail
export LC_ALL=C
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
reps=3; outdir="/tmp/vetrix-lane-cost-$(date +%Y%m%d-%H%M%S)"
corpus="${VETRIX_CORPUS:-$ROOT/../shared/bench}"
while getopts "r:o:h" opt; do
  case $opt in r) reps=$OPTARG ;; o) outdir=$OPTARG ;; *) sed -n '2,17p' "$0" >&2; exit 2 ;; esac
done
shift $((OPTIND - 1))
[[ $# -ge 2 ]] || { sed -n '2,17p' "$0" >&2; exit 2; }
list=$1; shift
mkdir -p "$outdir"
raw="$outdir/raw.tsv"
{ echo "date: $(date -u '+%F %T UTC'), load at start: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "command: bench/lane_cost.sh -r $reps $list $*"
  for b in "$@"; do echo "${b%%=*}: ${b#*=}, commit $(cat "${b#*=}/COMMIT" 2>/dev/null || echo '?')"; done
} > "$outdir/run-info.txt"
printf 'build\tpath\tstrategy\trep\tmode\tcpu_s\twall_s\twinner\n' > "$raw"
err=$(mktemp); trap 'rm -f "$err"' EXIT

for ((r = 1; r <= reps; ++r)); do
  while read -r path s; do
    [[ -n "$path" ]] || continue
    for b in "$@"; do
      bin="${b#*=}/vetrix"
      /usr/bin/time -f '%U %S %e' -o "$err.t" "$bin" --stats "$corpus/$path" "$s" > /dev/null 2> "$err"
      read -r u sy e < "$err.t"
      printf '%s\t%s\t%s\t%s\talone\t%.3f\t%s\t%s\n' "${b%%=*}" "$path" "$s" "$r" "$(echo "$u + $sy" | bc)" "$e" "$s" >> "$raw"
      /usr/bin/time -f '%e' -o "$err.t" "$bin" --portfolio --stats "$corpus/$path" > /dev/null 2> "$err"
      awk -v b="${b%%=*}" -v p="$path" -v s="$s" -v r="$r" -v e="$(tail -n 1 "$err.t")" '
        /^c portfolio winner: strategy/ { w = $NF }
        /^c portfolio strategy/ && $4 == s { cpu = $NF }
        END { printf "%s\t%s\t%s\t%s\tportfolio\t%s\t%s\t%s\n", b, p, s, r, cpu, e, w }' "$err" >> "$raw"
    done
  done < "$list"
done
rm -f "$err.t"

python3 - "$raw" <<'PY' | tee "$outdir/report.md"
import csv, statistics, sys
from collections import defaultdict
runs = defaultdict(list)
for row in csv.DictReader(open(sys.argv[1]), delimiter="\t"):
    if row["mode"] == "portfolio" and row["winner"] != row["strategy"]:
        continue  # another lane won: this lane's search was cut short
    runs[row["build"], row["path"], row["strategy"], row["mode"]].append(float(row["cpu_s"]))
builds = sorted({k[0] for k in runs})
paths = sorted({(k[1], k[2]) for k in runs})
print("| instance | strategy | " + " | ".join(f"{b} alone | {b} in portfolio | ratio" for b in builds) + " |")
print("|---|---:|" + "---:|---:|---:|" * len(builds))
ratios = defaultdict(list)
for p, s in paths:
    cells = []
    for b in builds:
        a, q = runs.get((b, p, s, "alone")), runs.get((b, p, s, "portfolio"))
        ma = statistics.median(a) if a else None
        mq = statistics.median(q) if q else None
        if ma and mq:
            ratios[b].append(mq / ma)
        cells += [f"{ma:.2f}" if ma else "-", f"{mq:.2f}" if mq else "-", f"{mq / ma:.2f}" if ma and mq else "-"]
    print(f"| {p} | {s} | " + " | ".join(cells) + " |")
print()
for b in builds:
    if ratios[b]:
        print(f"{b}: median in-portfolio / alone CPU ratio {statistics.median(ratios[b]):.2f} over {len(ratios[b])} instances")
alone = {b: {(p, s): statistics.median(runs[b, p, s, "alone"]) for p, s in paths if runs.get((b, p, s, "alone"))} for b in builds}
for b in builds[1:]:
    common = [k for k in alone[b] if k in alone[builds[0]]]
    if common:
        print(f"{b} / {builds[0]} alone CPU, median over instances: "
              f"{statistics.median(alone[b][k] / alone[builds[0]][k] for k in common):.3f}")
PY
