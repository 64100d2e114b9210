#!/usr/bin/env bash
# Ablation of the fast engine: bench/fast_solve with its defaults and with
# each switch turned the other way, on one tier of the corpus, per instance
# in turns. CPU seconds are the measure (the machine may be shared).
#
# usage: bench/fast_ablation.sh [-t SECONDS] [-b FAST_SOLVE] [-o DIR] [-x LIST] [TIER]
#
#   TIER   small | medium | hard (default hard)
#   -C S   a CPU-time limit per run as well (ulimit -t); on a shared machine
#          it keeps a starved run from timing out on wall time first
#   -t S   limit per run (default 60)
#   -b B   the fast_solve binary (default build/bench/fast_solve)
#   -x L   the configurations, comma-separated; each "default" or switch
#          settings joined by + (probe=1+eliminate=0); by default
#          default,eliminate=0,probe=1,subsume=1,vivify=0,minimize=0,stable=0,rephase=0,queue=1
#   -o D   where raw.tsv, machine.txt and report.md go
#          (default bench/results/DATE-COMMIT-fast-ablation-TIER)
#
# raw.tsv: configuration, path, expected, verdict, wall_s, cpu_s, conflicts.
# report.md: per configuration the instances solved and the CPU time over
# the instances every configuration solved, with its ratio to the default's.
set -u -o pipefail
export LC_ALL=C
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
limit=60; fast="$ROOT/build/bench/fast_solve"; outdir=""
configs="default,eliminate=0,probe=1,subsume=1,vivify=0,minimize=0,stable=0,rephase=0,queue=1"
cpu_limit=unlimited
while getopts "C:t:b:o:x:h" opt; do
  case $opt in
    C) cpu_limit=$OPTARG ;; t) limit=$OPTARG ;; b) fast=$OPTARG ;; o) outdir=$OPTARG ;; x) configs=$OPTARG ;;
    *) sed -n '2,20p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
tier=${1:-hard}
corpus="${VETRIX_CORPUS:-$ROOT/../shared/bench}"
[[ -f "$corpus/MANIFEST.tsv" ]] || { echo "fast_ablation.sh: no corpus at $corpus" >&2; exit 2; }
commit=$(git -C "$ROOT" rev-parse --short HEAD)
outdir=${outdir:-$ROOT/bench/results/$(date -u +%F)-$commit-fast-ablation-$tier}
mkdir -p "$outdir"
IFS=, read -r -a config_list <<< "$configs"
scratch=$(mktemp -d); trap 'rm -rf "$scratch"' EXIT
{ echo "start: $(date -u +%FT%TZ) load: $(cut -d' ' -f1-3 /proc/loadavg)"; echo "cores: $(nproc)"
  echo "command: bench/fast_ablation.sh -C $cpu_limit -t $limit -x $configs $tier"; } > "$outdir/machine.txt"
printf 'config\tpath\texpected\tverdict\twall_s\tcpu_s\tconflicts\n' > "$outdir/raw.tsv"
awk -F'\t' -v t="$tier" '$8 == t { print $1 "\t" $5 }' "$corpus/MANIFEST.tsv" |
while IFS=$'\t' read -r path expected; do
  for c in "${config_list[@]}"; do
    [[ $c == default ]] && flag="" || flag="--${c//+/ --}"
    (ulimit -t "$cpu_limit"; exec /usr/bin/time -f '%e %U %S' -o "$scratch/time" timeout "$limit" "$fast" --quiet $flag "$corpus/$path" \
      > "$scratch/out" 2> "$scratch/err")
    read -r wall user sys < <(tail -n 1 "$scratch/time")
    case $(grep -m1 '^s ' "$scratch/out") in
      "s SATISFIABLE") verdict=SAT ;; "s UNSATISFIABLE") verdict=UNSAT ;; *) verdict=TIMEOUT ;;
    esac
    conflicts=$(awk '/^c conflicts:/ { print $3; exit }' "$scratch/err")
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$c" "$path" "$expected" "$verdict" "$wall" \
      "$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')" "${conflicts:--}" >> "$outdir/raw.tsv"
  done
done
echo "end: $(date -u +%FT%TZ) load: $(cut -d' ' -f1-3 /proc/loadavg)" >> "$outdir/machine.txt"
python3 - "$outdir" <<'PY' | tee "$outdir/report.md"
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1] + "/raw.tsv"), delimiter="\t"))
configs = list(dict.fromkeys(r["config"] for r in rows))
paths = list(dict.fromkeys(r["path"] for r in rows))
run = {(r["config"], r["path"]): r for r in rows}
ok = lambda c, p: run[(c, p)]["verdict"] in ("SAT", "UNSAT")
wrong = lambda c: sum(1 for p in paths if ok(c, p) and run[(c, p)]["verdict"] != run[(c, p)]["expected"])
common = [p for p in paths if all(ok(c, p) for c in configs)]
base = sum(float(run[("default", p)]["cpu_s"]) for p in common) if "default" in configs else None
print("| configuration | solved | wrong | cpu s on the %d solved by all | ratio to default |" % len(common))
print("|---|---|---|---|---|")
for c in configs:
    cpu = sum(float(run[(c, p)]["cpu_s"]) for p in common)
    print("| %s | %d/%d | %d | %.1f | %s |" % (c, sum(ok(c, p) for p in paths), len(paths), wrong(c), cpu,
                                             "%.2f" % (cpu / base) if base else "-"))
PY
