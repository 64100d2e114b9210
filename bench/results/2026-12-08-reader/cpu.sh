#!/usr/bin/env bash
# The big file A in CPU seconds: wall, user, system seconds and peak RSS of
# vetrix (strategy 0, and the older build with strategy 2) and MiniSat, in
# turns, ROUNDS rounds.
# usage: cpu.sh AFTER_BUILD BEFORE_BUILD [ROUNDS]
set -u
f=/tmp/vetrix-big-first.cnf
echo "date: $(date -u '+%Y-%m-%d %H:%M:%S UTC'), load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "program wall_s user_s sys_s peak_rss_kb verdict"
for ((r = 1; r <= ${3:-3}; r++)); do
  for who in after before minisat; do
    case $who in
      after) cmd=("$1/vetrix" "$f" 0) ;;
      before) cmd=("$2/vetrix" "$f" 2) ;;
      minisat) cmd=(minisat -verb=0 "$f") ;;
    esac
    log=$(mktemp)
    verdict=$(/usr/bin/time -f "%e %U %S %M" -o "$log" nice "${cmd[@]}" 2>/dev/null | grep -m1 -oE 'UNSATISFIABLE|SATISFIABLE')
    echo "$who $(tail -n 1 "$log") $verdict"
    rm -f "$log"
  done
done
