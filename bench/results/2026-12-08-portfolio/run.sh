#!/bin/bash
# The portfolio beside each single strategy and MiniSat on a few hard-tier
# instances. Singles and MiniSat run under a CPU limit of LIMIT seconds; the
# portfolio (three threads) under a wall limit of LIMIT seconds. Each run's
# wall and CPU seconds, exit status and verdict line go to raw.tsv; the
# portfolio's winner line to its own column. Everything runs under nice.
# Usage: run.sh VETRIX_BINARY [LIMIT]   (writes raw.tsv, out/ beside this script)
set -u
here=$(cd "$(dirname "$0")" && pwd)
vetrix=$1
limit=${2:-30}
corpus=${VETRIX_CORPUS:-$here/../../../../shared/bench}
instances="uf250/uf250-02 satrace2015/38bits_10 hole/hole9 hanoi/hanoi5 sat09app/q_query_3_l37_lambda"
mkdir -p "$here/out"
raw=$here/raw.tsv
printf 'instance\tsolver\twall_s\tcpu_s\tstatus\tverdict\twinner\n' > "$raw"
uptime > "$here/load.txt"
run() { # name instance command...
    local name=$1 inst=$2; shift 2
    local tag=${inst//\//_}.$name
    /usr/bin/time -f '%e %U %S' -o "$here/out/$tag.time" "$@" > "$here/out/$tag.out" 2> "$here/out/$tag.err"
    local status=$?
    read -r wall user sys < <(tail -1 "$here/out/$tag.time")
    local cpu verdict winner
    cpu=$(echo "$user + $sys" | bc)
    verdict=$(grep -m1 '^s ' "$here/out/$tag.out" | cut -c3-)
    winner=$(sed -n 's/^c portfolio winner: //p' "$here/out/$tag.err")
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$inst" "$name" "$wall" "$cpu" "$status" "${verdict:-none}" "${winner:--}" >> "$raw"
}
for inst in $instances; do
    f=$corpus/$inst.cnf
    run portfolio "$inst" nice timeout "$limit" "$vetrix" --portfolio "$f"
    for n in 0 1 2; do
        run "s$n" "$inst" nice bash -c "ulimit -t $limit; exec \"\$0\" \"\$@\"" "$vetrix" "$f" "$n"
    done
    run minisat "$inst" nice bash -c "ulimit -t $limit; exec minisat -verb=0 \"\$0\"" "$f"
done
uptime >> "$here/load.txt"
