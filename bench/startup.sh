#!/usr/bin/env bash
# Start-up cost and peak memory of vetrix against MiniSat, from one run.
#
# usage: bench/startup.sh [-b BINARY] [-r RUNS] [-s STRATEGY]
#
#   -b BINARY   the vetrix binary (default build-bench/vetrix; see build.sh)
#   -r RUNS     timed runs per solver on the tiny formula (default 300)
#   -s N        vetrix's strategy (default 0)
#
# 1. Start-up: a tiny formula (random 3-CNF, 100 variables, 250 clauses,
#    satisfiable, solved without measurable search) is solved RUNS times by
#    vetrix and by `minisat -verb=0` (PicoSAT and CaDiCaL come along for
#    reference). With hyperfine (apt-get install -y hyperfine) the runs go
#    through `hyperfine -N` (no shell in between); without it, a loop
#    alternates the solvers and times each run with bash's clock. The ratio
#    vetrix/minisat of the mean and of the median is printed.
# 2. Peak resident memory (/usr/bin/time -v, package `time`) of vetrix and
#    MiniSat on the tiny formula and on a generated formula of 1,000,000
#    clauses (monotone 3-CNF over 250,000 variables from gen_big.py: every
#    literal positive, so it is solved without a single conflict and the
#    figure is that of holding the formula). Each run has a 900 s limit.
# Generated files go to /tmp.
set -u -o pipefail
export LC_ALL=C
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
vetrix="$ROOT/build-bench/vetrix"; runs=300; strategy=0
while getopts "b:r:s:h" opt; do
  case $opt in
    b) vetrix=$OPTARG ;; r) runs=$OPTARG ;; s) strategy=$OPTARG ;;
    *) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "${BASH_SOURCE[0]}" >&2; exit 2 ;;
  esac
done
[[ -x "$vetrix" ]] || { echo "startup.sh: no vetrix binary at $vetrix (run bench/build.sh)" >&2; exit 2; }
for p in minisat picosat cadical time; do
  bin=$p; [[ $p == time ]] && bin=/usr/bin/time
  command -v "$bin" >/dev/null || { echo "startup.sh: installing $p" >&2; apt-get install -y "$p" >/dev/null 2>&1 || { apt-get update >/dev/null 2>&1; apt-get install -y "$p" >/dev/null 2>&1; } || { echo "startup.sh: need $p" >&2; exit 2; }; }
done

tiny=/tmp/vetrix-bench-tiny.cnf; big=/tmp/vetrix-bench-1m.cnf
[[ -s $tiny ]] || python3 "$ROOT/bench/gen_big.py" --seed 1 100 250 "$tiny"
[[ -s $big ]] || python3 "$ROOT/bench/gen_big.py" --seed 1 --positive 250000 1000000 "$big"

echo "vetrix: $vetrix (commit $(cat "$(dirname "$vetrix")/COMMIT" 2>/dev/null || echo unknown)), strategy $strategy"
echo "date: $(date -u '+%Y-%m-%d %H:%M:%S UTC'), cores: $(nproc), load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "## start-up on $tiny (100 variables, 250 clauses), $runs runs each"
json=$(mktemp); trap 'rm -f "$json"' EXIT
if command -v hyperfine >/dev/null; then
  echo "hyperfine -N -i --warmup 20 --runs $runs (exit codes 10/20 of the peers ignored)"
  hyperfine -N -i --warmup 20 --runs "$runs" --style none --export-json "$json" \
    -n vetrix "$vetrix $tiny $strategy" -n minisat "minisat -verb=0 $tiny" \
    -n picosat "picosat $tiny" -n cadical "cadical -q $tiny" >/dev/null 2>&1
else
  echo "a loop of $runs rounds, the four solvers in turn each round"
  python3 - "$json" "$runs" "$vetrix $tiny $strategy" "minisat -verb=0 $tiny" "picosat $tiny" "cadical -q $tiny" <<'PY'
import json, subprocess, sys, time
out, runs, cmds = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
names = ["vetrix", "minisat", "picosat", "cadical"]
times = {n: [] for n in names}
for r in range(runs + 10):
    for n, c in zip(names, cmds):
        t0 = time.perf_counter()
        subprocess.run(c.split(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if r >= 10:
            times[n].append(time.perf_counter() - t0)
json.dump({"results": [{"command": n, "times": times[n]} for n in names]}, open(out, "w"))
PY
fi
python3 - "$json" <<'PY'
import json, statistics, sys
res = {r["command"]: r["times"] for r in json.load(open(sys.argv[1]))["results"]}
print("| solver | mean ms | median ms | min ms | ratio vetrix/solver (mean) | (median) |")
print("|---|---:|---:|---:|---:|---:|")
v = res["vetrix"]
for n, t in res.items():
    print(f"| {n} | {1e3*statistics.mean(t):.2f} | {1e3*statistics.median(t):.2f} | {1e3*min(t):.2f} | "
          f"{statistics.mean(v)/statistics.mean(t):.2f} | {statistics.median(v)/statistics.median(t):.2f} |")
PY
echo
echo "## peak resident memory (/usr/bin/time -v, maximum resident set size)"
echo "| formula | solver | verdict | wall s | peak RSS MB |"
echo "|---|---|---|---:|---:|"
rss() { # label file solver-command...
  local label=$1 file=$2; shift 2
  local log; log=$(mktemp)
  local so; so=$(mktemp)
  /usr/bin/time -v timeout 900 "$@" >"$so" 2>"$log"
  local out; out=$(grep -m1 -E '^(s )?(SATISFIABLE|UNSATISFIABLE|UNKNOWN)' "$so" || echo "none (900 s limit?)")
  rm -f "$so"
  local kb; kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$log")
  local wall; wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' "$log")
  printf "| %s | %s | %s | %.2f | %.1f |\n" "$label" "$(basename "$1")" "${out#s }" "$wall" "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')"
  rm -f "$log"
}
rss "tiny (100 vars, 250 clauses)" "$tiny" "$vetrix" "$tiny" "$strategy"
rss "tiny (100 vars, 250 clauses)" "$tiny" minisat -verb=0 "$tiny"
rss "monotone (250000 vars, 1000000 clauses, $(( $(stat -c %s "$big") / 1000000 )) MB)" "$big" "$vetrix" "$big" "$strategy"
rss "monotone (250000 vars, 1000000 clauses, $(( $(stat -c %s "$big") / 1000000 )) MB)" "$big" minisat -verb=0 "$big"
