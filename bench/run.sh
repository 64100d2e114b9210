#!/usr/bin/env bash
# Run vetrix (strategies 0, 1, 2) and the peer solvers MiniSat, PicoSAT and
# CaDiCaL over part of the benchmark corpus, check every answer, and print
# per-family tables: solved counts, total and median time, and vetrix/peer
# time ratios, all from the one run.
#
# usage: bench/run.sh [options] TARGET...
#
#   TARGET   a tier (small | medium | hard | all), a family (the family
#            column of MANIFEST.tsv, e.g. flat), or a file listing instance
#            paths relative to the corpus (e.g. uf75/uf75-01.cnf), one a line.
#            Several targets add up; an instance is run once.
#
# options:
#   -t SECONDS  limit per instance and solver (default 10)
#   -j N        instances at once (default 1; keep 1 for timings)
#   -s LIST     solvers, comma-separated, from v0 v1 v2 (vetrix with that
#               strategy), minisat, picosat, cadical
#               (default v0,v1,v2,minisat,picosat,cadical)
#   -b BINARY   the vetrix binary (default build-bench/vetrix; see build.sh)
#   -o DIR      keep the raw results and the report in DIR
#               (default /tmp/vetrix-bench-<date>)
#   -c DIR      the corpus (default $VETRIX_CORPUS, or ../shared/bench beside the repository)
#   -n          do not check models
#
# The peers come from Debian's packages; when one is missing the script
# installs it (as root: apt-get install -y minisat picosat cadical).
#
# Each solver goes through the corpus's run_peers.sh, family by family; within
# a family the solvers take turns, so a change in the machine's load during a
# long run falls on every solver alike. The verdicts are checked against the
# manifest's expected ones and every SAT answer's model with check_model.py.
# DIR/raw/<solver>.<family>.tsv hold run_peers.sh's lines, DIR/report.md the
# tables (made by summarize.py, which can be rerun on DIR alone).
# Exit status 0 when no verdict was wrong and no model bad, 1 otherwise.
set -u -o pipefail
orig_args="$*"
export LC_ALL=C
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
usage() { awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "${BASH_SOURCE[0]}" >&2; exit 2; }

tlimit=10; jobs=1; solvers="v0,v1,v2,minisat,picosat,cadical"
vetrix="$ROOT/build-bench/vetrix"; outdir=""; corpus="${VETRIX_CORPUS:-$ROOT/../shared/bench}"; nocheck=""
while getopts "t:j:s:b:o:c:nh" opt; do
  case $opt in
    t) tlimit=$OPTARG ;; j) jobs=$OPTARG ;; s) solvers=$OPTARG ;;
    b) vetrix=$OPTARG ;; o) outdir=$OPTARG ;; c) corpus=$OPTARG ;;
    n) nocheck=-n ;; *) usage ;;
  esac
done
shift $((OPTIND - 1))
[[ $# -ge 1 ]] || usage
manifest="$corpus/MANIFEST.tsv"; runner="$corpus/run_peers.sh"
[[ -f "$manifest" && -x "$runner" ]] || { echo "run.sh: no corpus at $corpus" >&2; exit 2; }
vetrix="$(cd "$(dirname "$vetrix")" && pwd -P)/$(basename "$vetrix")"
IFS=, read -r -a solver_list <<< "$solvers"

# ---- peers: install the missing ones ----
missing=()
for s in "${solver_list[@]}"; do
  case $s in
    v0|v1|v2) [[ -x "$vetrix" ]] || { echo "run.sh: no vetrix binary at $vetrix (run bench/build.sh)" >&2; exit 2; } ;;
    minisat|picosat|cadical) command -v "$s" >/dev/null || missing+=("$s") ;;
    *) echo "run.sh: unknown solver $s" >&2; exit 2 ;;
  esac
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "run.sh: installing ${missing[*]} (apt-get install -y ${missing[*]})" >&2
  apt-get install -y "${missing[@]}" >/dev/null 2>&1 ||
    { apt-get update >/dev/null 2>&1 && apt-get install -y "${missing[@]}" >/dev/null 2>&1; } ||
    { echo "run.sh: could not install ${missing[*]}; as root: apt-get update && apt-get install -y ${missing[*]}" >&2; exit 2; }
fi

# ---- the instance selection, as a manifest of its own ----
[[ -n "$outdir" ]] || outdir="/tmp/vetrix-bench-$(date +%Y%m%d-%H%M%S)"
mkdir -p "$outdir/raw"; outdir="$(cd "$outdir" && pwd -P)"
sel="$outdir/manifest.tsv"
"$ROOT/bench/select_instances.sh" "$manifest" "$@" > "$sel"
n=$(( $(wc -l < "$sel") - 1 ))
[[ $n -gt 0 ]] || { echo "run.sh: no instance matches: $*" >&2; exit 2; }
families=$(awk -F'\t' 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == "family") f = i; next } !s[$f]++ { print $f }' "$sel")

commit="$(cat "$(dirname "$vetrix")/COMMIT" 2>/dev/null || echo unknown)"
{
  echo "date: $(date -u '+%Y-%m-%d %H:%M:%S UTC')"
  echo "host cores: $(nproc)"
  echo "command: bench/run.sh $orig_args"
  echo "vetrix: $vetrix (commit $commit)"
  echo "instances: $n, limit ${tlimit}s, $jobs at once"
  for p in minisat picosat cadical; do
    echo "$p: $(dpkg-query -W -f '${Version}' "$p" 2>/dev/null || echo '?')"
  done
} > "$outdir/run-info.txt"
cat "$outdir/run-info.txt" >&2

for fam in $families; do
  for s in "${solver_list[@]}"; do
    case $s in
      v0|v1|v2) cmd="\"$vetrix\" {} ${s#v}" ;;
      *) cmd=$s ;;
    esac
    echo "run.sh: $fam / $s" >&2
    nice -n 5 "$runner" $nocheck -m "$sel" -f "$fam" -t "$tlimit" -j "$jobs" -o "$outdir/raw/$s.$fam.tsv" "$cmd" all \
      >/dev/null 2>>"$outdir/run_peers.log"
  done
done

python3 "$ROOT/bench/summarize.py" --solvers "$solvers" "$outdir" | tee "$outdir/report.md"
