#!/usr/bin/env bash
# The full small-tier sweep: every small-tier instance of the benchmark corpus
# (3026 files) under each strategy 0, 1 and 2, with the verdict compared to
# MANIFEST.tsv and every model checked against its formula. About 9000 runs;
# the solver needs under two minutes of them, the rest goes to process start
# and the model checks (one Python process per SAT answer): about 20 minutes
# with -j 1 on a busy 2-core machine. Heavier than the test suite, which runs
# a deterministic slice of the same tier (tests/test_corpus.cpp).
#
# usage: tools/check_small_tier.sh [-j N] [-t SECONDS] [-o DIR] [BINARY]
#
#   BINARY   the vetrix binary (default: build/vetrix of this repository)
#   -j N     instances run at once (default 2)
#   -t S     time limit per instance in seconds (default 60)
#   -o DIR   keep the per-strategy TSVs (small.0.tsv, ...) in DIR
#
# The corpus is $VETRIX_CORPUS, by default ../shared/bench beside the
# repository. Exit status 0 when every run gave the expected verdict
# (no wrong verdict, bad model, timeout, UNKNOWN or error), 1 otherwise, 2 on
# usage errors.
set -u -o pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
jobs=2
limit=60
keep=""
while getopts "j:t:o:h" opt; do
  case "$opt" in
    j) jobs="$OPTARG" ;;
    t) limit="$OPTARG" ;;
    o) keep="$OPTARG" ;;
    *) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
bin="${1:-$repo/build/vetrix}"
[[ -x "$bin" ]] || { echo "check_small_tier.sh: no executable $bin" >&2; exit 2; }
bin="$(cd "$(dirname "$bin")" && pwd -P)/$(basename "$bin")"

bench="${VETRIX_CORPUS:-$repo/../shared/bench}"
runner="$bench/run_peers.sh"
[[ -f "$runner" ]] || { echo "check_small_tier.sh: no corpus runner at $runner" >&2; exit 2; }

if [[ -n "$keep" ]]; then
  mkdir -p "$keep" || exit 2
  out="$(cd "$keep" && pwd -P)"
else
  out="$(mktemp -d)"
  trap 'rm -rf "$out"' EXIT
fi

status=0
printf 'strategy\tinstances\tSAT\tUNSAT\twrong\tbad_models\tother\twall_s\n'
for n in 0 1 2; do
  tsv="$out/small.$n.tsv"
  bash "$runner" -t "$limit" -j "$jobs" -o "$tsv" "\"$bin\" {} $n" small > /dev/null 2> "$out/small.$n.log"
  rc=$?
  if [[ $rc -gt 1 || ! -s "$tsv" ]]; then
    echo "check_small_tier.sh: runner failed for strategy $n:" >&2
    cat "$out/small.$n.log" >&2
    exit 2
  fi
  # Anything but a verdict that matches the manifest counts against the run.
  awk -F'\t' -v n="$n" 'NR > 1 {
      total++; wall += $3
      if ($2 == "SAT") sat++
      else if ($2 == "UNSAT") unsat++
      else { other++; print "strategy " n ": " $1 " " $2 > "/dev/stderr" }
      if (($2 == "SAT" || $2 == "UNSAT") && $2 != $5) { wrong++; print "strategy " n ": WRONG " $1 " " $2 > "/dev/stderr" }
      if ($4 == "FAIL") { bad++; print "strategy " n ": BAD MODEL " $1 > "/dev/stderr" }
    }
    END {
      printf "%d\t%d\t%d\t%d\t%d\t%d\t%d\t%.1f\n", n, total, sat, unsat, wrong, bad, other, wall
      exit (wrong + bad + other > 0) ? 1 : 0
    }' "$tsv" || status=1
done
exit $status
