#!/bin/bash
# one line per instance and strategy: path strategy status wall_seconds
cd /tmp/i36w-pf
while read p; do for s in fast 0 1 2; do echo "$p $s"; done; done < instances |
parallel -j2 --colsep ' ' 'st=$(date +%s.%N); timeout 10 ./vetrix --strategy={2} /work/shared/bench/{1} > /dev/null; rc=$?; en=$(date +%s.%N); echo -e "{1}\t{2}\t$rc\t$(echo "$en - $st" | bc)"' > raw.tsv
