#!/usr/bin/env bash
# Search throughput: vetrix builds and the peer solvers on the same instances,
# per instance, with the counters each solver reports (conflicts, decisions,
# propagations; for vetrix also watch-list visits), wall time and peak RSS.
#
# usage: bench/throughput.sh [options] TARGET...
#
#   TARGET   a tier (small | medium | hard), a family, or a file listing
#            instance paths relative to the corpus, one a line (as run.sh).
#
# options:
#   -t SECONDS    wall-time limit per instance and solver (default 60)
#   -C SECONDS    CPU-time limit per instance and solver as well (ulimit -t);
#                 on a loaded machine it keeps a starved run from timing out
#                 on wall time long before it has had its CPU seconds
#   -v LABEL=DIR  a vetrix build directory (bench/build.sh DIR) whose
#                 vetrix is run with --stats; repeatable (default
#                 now=build-bench)
#   -S LIST       vetrix strategies, comma-separated (default 0,1); P runs
#                 --portfolio (label "vetrix BUILD portfolio") and keeps each
#                 strategy's conflicts and thread CPU seconds in DIR/lanes.tsv
#   -p LIST       peers from minisat, cadical, picosat (default all three)
#   -o DIR        result directory (default /tmp/vetrix-throughput-<date>)
#   -c DIR        the corpus (default $VETRIX_CORPUS, or ../shared/bench beside the repository)
#
# Per instance the solvers take turns (every vetrix build for strategy 0, the
# same for 1, then the peers), so a change of the machine's load falls on all
# of them alike. `vetrix --stats FILE n` prints the counters to standard
# error; MiniSat runs with -verb=1, PicoSAT with -v,
# CaDiCaL with its default statistics. Verdicts are compared with the
# manifest's. DIR/raw.tsv holds one line per run (verdict, wall and CPU
# seconds, peak RSS, the counters), DIR/run-info.txt the date, command,
# commits and build flags; bench/throughput_tables.py DIR makes the tables
# (DIR/report.md).
set -u -o pipefail
export LC_ALL=C
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
usage() { awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "${BASH_SOURCE[0]}" >&2; exit 2; }
orig_args="$*"

tlimit=60; climit=unlimited; strategies=0,1; peers=minisat,cadical,picosat; outdir=""
corpus="${VETRIX_CORPUS:-$ROOT/../shared/bench}"; builds=()
while getopts "t:C:v:S:p:o:c:h" opt; do
  case $opt in
    t) tlimit=$OPTARG ;; C) climit=$OPTARG ;; v) builds+=("$OPTARG") ;; S) strategies=$OPTARG ;;
    p) peers=$OPTARG ;; o) outdir=$OPTARG ;; c) corpus=$OPTARG ;; *) usage ;;
  esac
done
shift $((OPTIND - 1))
[[ $# -ge 1 ]] || usage
[[ ${#builds[@]} -gt 0 ]] || builds=("now=$ROOT/build-bench")
manifest="$corpus/MANIFEST.tsv"
[[ -f "$manifest" ]] || { echo "throughput.sh: no corpus at $corpus" >&2; exit 2; }
IFS=, read -r -a strategy_list <<< "$strategies"
IFS=, read -r -a peer_list <<< "$peers"
for p in "${peer_list[@]}"; do
  command -v "$p" >/dev/null || { echo "throughput.sh: $p missing (tools/install_peers.sh)" >&2; exit 2; }
done
[[ -x /usr/bin/time ]] || { echo "throughput.sh: /usr/bin/time missing (apt-get install -y time)" >&2; exit 2; }

[[ -n "$outdir" ]] || outdir="/tmp/vetrix-throughput-$(date +%Y%m%d-%H%M%S)"
mkdir -p "$outdir"; outdir="$(cd "$outdir" && pwd -P)"
work="$(mktemp -d)"; trap 'rm -rf "$work"' EXIT

# ---- the instances: path and expected verdict ----
"$ROOT/bench/select_instances.sh" "$manifest" "$@" |
  awk -F'\t' 'NR == 1 { for (i = 1; i <= NF; i++) c[$i] = i; next } { print $c["path"] "\t" $c["expected"] }' > "$work/instances"
[[ -s "$work/instances" ]] || { echo "throughput.sh: no instance matches: $*" >&2; exit 2; }

{
  echo "date: $(date -u '+%Y-%m-%d %H:%M:%S UTC')"
  echo "host cores: $(nproc), load at start: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "command: bench/throughput.sh $orig_args"
  echo "instances: $(wc -l < "$work/instances"), limit ${tlimit}s wall, CPU ${climit}"
  for b in "${builds[@]}"; do
    dir="${b#*=}"
    flags="$(sed -n 's/^CMAKE_CXX_FLAGS_RELEASE:[A-Z]*=//p' "$dir/CMakeCache.txt" 2>/dev/null)"
    [[ -n "$flags" ]] || flags="$(cmake -LA -N "$dir" 2>/dev/null | sed -n 's/^CMAKE_CXX_FLAGS_RELEASE:STRING=//p')"
    echo "vetrix ${b%%=*}: $dir, commit $(cat "$dir/COMMIT" 2>/dev/null || echo '?'), build type Release, flags ${flags:-CMake default}, compiler $(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$dir/CMakeCache.txt")"
  done
  for p in "${peer_list[@]}"; do echo "$p: $(dpkg-query -W -f '${Version}' "$p" 2>/dev/null || echo '?')"; done
} > "$outdir/run-info.txt"
cat "$outdir/run-info.txt" >&2

raw="$outdir/raw.tsv"
printf 'path\tsolver\texpected\tverdict\twall_s\tcpu_s\trss_kb\tconflicts\tdecisions\tpropagations\tvisits\n' > "$raw"
lanes="$outdir/lanes.tsv"
printf 'path\tsolver\tstrategy\tconflicts\tcpu_s\twinner\n' > "$lanes"

# Runs one solver command on one instance; appends its line to raw.tsv.
# $1 path, $2 expected, $3 solver label, $4 counter format, rest: command.
run_one() {
  local path=$1 expected=$2 label=$3 format=$4; shift 4
  local t0 t1 rc verdict wall rss
  t0=$(date +%s%N)
  /usr/bin/time -f '%M %U %S' -o "$work/rss" timeout "$tlimit" nice -n 5 \
    bash -c 'ulimit -t "$0" && exec "$@"' "$climit" "$@" > "$work/out" 2> "$work/err"
  rc=$?
  t1=$(date +%s%N)
  wall=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
  read -r rss user sys < <(tail -n 1 "$work/rss" 2>/dev/null)
  cpu=$(awk -v u="${user:-0}" -v s="${sys:-0}" 'BEGIN { printf "%.2f", u + s }')
  # 124: wall limit; 137/152: SIGKILL/SIGXCPU at the CPU limit. MiniSat
  # catches SIGXCPU and ends without a verdict.
  if grep -qE '^(s )?UNSATISFIABLE' "$work/out"; then verdict=UNSAT
  elif grep -qE '^(s )?SATISFIABLE' "$work/out"; then verdict=SAT
  elif [[ $rc == 124 || $rc == 137 || $rc == 152 ]] ||
       { [[ $climit != unlimited ]] && awk -v c="$cpu" -v l="$climit" 'BEGIN { exit !(c >= l - 0.5) }'; }; then verdict=TIMEOUT
  else verdict="ERROR($rc)"; fi
  # conflicts decisions propagations visits, "-" where the solver gives none
  local counts
  counts=$(cat "$work/out" "$work/err" | awk -v f="$format" '
    function num(s) { gsub(/[^0-9]/, "", s); return s }
    f == "vetrix" && /^c (conflicts|decisions|propagations|visits):/ { v[substr($2, 1, length($2) - 1)] = $3 }
    f == "minisat" && /^(conflicts|decisions|propagations) *:/ { v[$1] = num($3) }
    f == "cadical" && /^c (conflicts|decisions|propagations):/ { v[substr($2, 1, length($2) - 1)] = $3 }
    f == "picosat" && /^c [0-9]+ (conflicts|decisions|propagations)$/ { v[$3] = $2 }
    END {
      n = split("conflicts decisions propagations visits", k, " ")
      for (i = 1; i <= n; i++) printf "%s%s", (i > 1 ? "\t" : ""), (k[i] in v ? v[k[i]] : "-")
    }')
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$path" "$label" "$expected" "$verdict" "$wall" "$cpu" "${rss:--}" "$counts" >> "$raw"
  if [[ $verdict != TIMEOUT && $verdict != "$expected" ]]; then
    echo "throughput.sh: $label on $path: $verdict, expected $expected" >&2
  fi
}

while IFS=$'\t' read -r path expected; do
  file="$corpus/$path"
  echo "throughput.sh: $path" >&2
  for s in "${strategy_list[@]}"; do
    for b in "${builds[@]}"; do
      if [[ $s == P ]]; then
        run_one "$path" "$expected" "vetrix ${b%%=*} portfolio" vetrix "${b#*=}/vetrix" --portfolio --stats "$file"
        awk -v p="$path" -v l="vetrix ${b%%=*} portfolio" '
          /^c portfolio winner:/ { w = $NF }
          /^c portfolio strategy [0-9]+ conflicts:/ { n++; s[n] = $4; c[n] = $6; t[n] = $8 }
          END { for (i = 1; i <= n; i++) printf "%s\t%s\t%s\t%s\t%s\t%s\n", p, l, s[i], c[i], t[i], w }' "$work/err" >> "$lanes"
      else
        run_one "$path" "$expected" "vetrix ${b%%=*} $s" vetrix "${b#*=}/vetrix" --stats "$file" "$s"
      fi
    done
  done
  for p in "${peer_list[@]}"; do
    case $p in
      minisat) run_one "$path" "$expected" MiniSat minisat minisat -verb=1 "$file" ;;
      cadical) run_one "$path" "$expected" CaDiCaL cadical cadical "$file" ;;
      picosat) run_one "$path" "$expected" PicoSAT picosat picosat -v "$file" ;;
      *) echo "throughput.sh: unknown peer $p" >&2; exit 2 ;;
    esac
  done
done < "$work/instances"

python3 "$ROOT/bench/throughput_tables.py" "$outdir" | tee "$outdir/report.md"
