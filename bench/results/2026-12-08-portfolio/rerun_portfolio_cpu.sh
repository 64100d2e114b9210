#!/bin/bash
# The portfolio rows again under a CPU limit instead of a wall limit: LIMIT
# seconds per strategy (3 x LIMIT for the process, as ulimit counts every
# thread), so that on a machine shared with other work the portfolio gets the
# same CPU budget per strategy as each single run of run.sh. Appends rows
# named "portfolio-cpu" to raw.tsv.
# Usage: rerun_portfolio_cpu.sh VETRIX_BINARY [LIMIT]
set -u
here=$(cd "$(dirname "$0")" && pwd)
vetrix=$1
limit=${2:-30}
corpus=${VETRIX_CORPUS:-$here/../../../../shared/bench}
instances="uf250/uf250-02 satrace2015/38bits_10 hole/hole9 hanoi/hanoi5 sat09app/q_query_3_l37_lambda"
raw=$here/raw.tsv
uptime >> "$here/load.txt"
for inst in $instances; do
    f=$corpus/$inst.cnf
    tag=${inst//\//_}.portfolio-cpu
    /usr/bin/time -f '%e %U %S' -o "$here/out/$tag.time" nice bash -c "ulimit -t $((3 * limit)); exec \"\$0\" \"\$@\"" \
        "$vetrix" --portfolio "$f" > "$here/out/$tag.out" 2> "$here/out/$tag.err"
    status=$?
    read -r wall user sys < <(tail -1 "$here/out/$tag.time")
    cpu=$(echo "$user + $sys" | bc)
    verdict=$(grep -m1 '^s ' "$here/out/$tag.out" | cut -c3-)
    winner=$(sed -n 's/^c portfolio winner: //p' "$here/out/$tag.err")
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$inst" portfolio-cpu "$wall" "$cpu" "$status" "${verdict:-none}" "${winner:--}" >> "$raw"
done
uptime >> "$here/load.txt"
