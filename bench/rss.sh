#!/usr/bin/env bash
# Peak resident memory of vetrix builds on the same instances: the smallest
# of R runs (/usr/bin/time's maximum RSS) per instance, strategy and binary,
# as TSV on standard output.
#
# usage: bench/rss.sh [-r RUNS] [-S STRATEGIES] [-c CORPUS] LIST BINARY...
#
#   LIST      instance paths relative to the corpus, one a line
#   -r RUNS   runs per instance and binary (default 3)
#   -S LIST   strategies, comma-separated (default 0,1)
#   -c DIR    the corpus (default $VETRIX_CORPUS, or ../shared/bench beside the repository)
#
# Columns: path, strategy, then one column of KB per binary.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
runs=3; strategies=0,1; corpus="${VETRIX_CORPUS:-$ROOT/../shared/bench}"
while getopts "r:S:c:" opt; do
  case $opt in r) runs=$OPTARG ;; S) strategies=$OPTARG ;; c) corpus=$OPTARG ;; *) exit 2 ;; esac
done
shift $((OPTIND - 1))
[[ $# -ge 2 ]] || { sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
list=$1; shift
tmp="$(mktemp)"; trap 'rm -f "$tmp"' EXIT
printf 'path\tstrategy'; for b in "$@"; do printf '\t%s' "$b"; done; echo
IFS=, read -r -a strategy_list <<< "$strategies"
while read -r path; do
  [[ -n "$path" ]] || continue
  for s in "${strategy_list[@]}"; do
    printf '%s\t%s' "$path" "$s"
    for b in "$@"; do
      best=""
      for ((r = 0; r < runs; r++)); do
        /usr/bin/time -f '%M' -o "$tmp" timeout 60 "$b" "$corpus/$path" "$s" >/dev/null 2>&1 || true
        kb=$(tail -n 1 "$tmp")
        if [[ -z "$best" || $kb -lt $best ]]; then best=$kb; fi
      done
      printf '\t%s' "$best"
    done
    echo
  done
done < "$list"
