#!/usr/bin/env bash
# A/B of two vetrix binaries on files, in turns: cpu (user+sys), wall, peak RSS, and whether stdout is the same.
# usage: ab.sh REPS OUT.tsv BEFORE AFTER FILE...
reps=$1 out=$2 before=$3 after=$4; shift 4
echo -e "path\tbuild\trep\tcpu_s\twall_s\trss_kb\tsame_stdout" > "$out"
for ((r = 1; r <= reps; r++)); do
  for f in "$@"; do
    for who in before after; do
      bin=$before; [[ $who == after ]] && bin=$after
      /usr/bin/time -f '%U %S %e %M' -o /tmp/vetrix-ab.time "$bin" "$f" > /tmp/vetrix-ab.$who.out 2>/dev/null
      read -r u s e m < <(tail -n 1 /tmp/vetrix-ab.time)
      same=-; [[ $who == after ]] && { cmp -s /tmp/vetrix-ab.before.out /tmp/vetrix-ab.after.out && same=yes || same=NO; }
      echo -e "${f#/work/shared/bench/}\t$who\t$r\t$(echo "$u + $s" | bc)\t$e\t$m\t$same" >> "$out"
    done
  done
done
