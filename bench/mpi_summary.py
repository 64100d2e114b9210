#!/usr/bin/env python3
"""Tables of a bench/mpi.sh run: DIR/raw.tsv and DIR/trees/ into DIR/report.md.

usage: bench/mpi_summary.py DIR

Per instance: wall and CPU at -np 3 against the single solve; the work
inflation (the workers' CPU over the single solve's CPU) at -np 3, 5 and 9;
from each recorded cube tree the total work, the critical path (the most
expensive chain of attempts from the root to a leaf, each attempt's worker
seconds) and the makespan of replaying the tree on P workers (an attempt
starts when its parent's attempt has ended and a worker is free, cubes in the
order rank 0 queued them), with the projected speedup over the single solve;
messages and bytes per second of solving; the certificate's cost.
"""
import csv
import heapq
import os
import sys


def read_raw(path):
    rows = {}
    with open(path) as f:
        lines = [l for l in f if not l.startswith('#')]
    for r in csv.DictReader(lines, delimiter='\t'):
        rows[(r['instance'], r['config'])] = r
    return rows


def read_tree(path):
    nodes = []
    with open(path) as f:
        next(f)
        for line in f:
            i, parent, depth, outcome, seconds, conflicts = line.split()
            nodes.append((int(parent), outcome, float(seconds)))
    return nodes


def critical_path(nodes):
    cost = [0.0] * len(nodes)
    for i, (parent, _, seconds) in enumerate(nodes):  # parents come before children
        cost[i] = seconds + (cost[parent] if parent >= 0 else 0.0)
    return max(cost)


def makespan(nodes, workers):
    children = [[] for _ in nodes]
    for i, (parent, _, _) in enumerate(nodes):
        if parent >= 0:
            children[parent].append(i)
    ready = [0]
    running = []  # (end time, node)
    now, free = 0.0, workers
    end = 0.0
    while ready or running:
        while ready and free > 0:
            node = heapq.heappop(ready)
            heapq.heappush(running, (now + nodes[node][2], node))
            free -= 1
        now, node = heapq.heappop(running)
        free += 1
        end = max(end, now)
        for c in children[node]:
            heapq.heappush(ready, c)
    return end


def num(r, key):
    try:
        return float(r[key])
    except (KeyError, TypeError, ValueError):
        return None


def all_cpu(r):
    """CPU seconds of every rank of a run, as its ranks counted them."""
    if r is None or num(r, 'rank0_cpu') is None:
        return None
    return num(r, 'rank0_cpu') + (num(r, 'worker_cpu') or 0.0)


def fmt(v, digits=2):
    return '-' if v is None else f'{v:.{digits}f}'


def main():
    out_dir = sys.argv[1]
    rows = read_raw(os.path.join(out_dir, 'raw.tsv'))
    with open(os.path.join(out_dir, 'raw.tsv')) as f:
        header = f.readline().strip()
    instances = []
    for inst, _ in rows:
        if inst not in instances:
            instances.append(inst)
    out = [f'# vetrix-mpi on this machine\n\n{header}\n']
    out.append('\n## Wall and CPU at -np 3 against the single solve\n')
    out.append('| instance | single verdict | single wall s | single solve s | np3 verdict | np3 wall s (mpirun) | np3 solve s (rank 0) | np3 CPU s (all ranks) | solve ratio np3/single | CPU ratio np3/single |')
    out.append('|---|---|---|---|---|---|---|---|---|---|')
    for inst in instances:
        s, m = rows.get((inst, 'single')), rows.get((inst, 'np3'))
        if not s or not m:
            continue
        ratio = num(m, 'solve_wall') / num(s, 'solve_wall') if num(s, 'solve_wall') else None
        cpu_ratio = all_cpu(m) / all_cpu(s) if all_cpu(s) else None
        out.append(f"| {inst} | {s['verdict']} | {fmt(num(s, 'wall'))} | {fmt(num(s, 'solve_wall'))} | {m['verdict']} | "
                   f"{fmt(num(m, 'wall'))} | {fmt(num(m, 'solve_wall'))} | {fmt(all_cpu(m))} | {fmt(ratio)} | {fmt(cpu_ratio)} |")
    out.append('\n## Work inflation: workers\' CPU over the single solve\'s CPU\n')
    out.append('| instance | single CPU s | np3 | np5 | np9 | np3, workers of strategy 1 |')
    out.append('|---|---|---|---|---|---|')
    for inst in instances:
        s = rows.get((inst, 'single'))
        if not s:
            continue
        cells = []
        for config in ('np3', 'np5', 'np9', 'np3-s1'):
            r = rows.get((inst, config))
            w = num(r, 'worker_cpu') if r else None
            cells.append('-' if w is None or not all_cpu(s) else f"{w / all_cpu(s):.2f} ({r['verdict']})")
        out.append(f"| {inst} | {fmt(all_cpu(s))} ({s['verdict']}) | " + ' | '.join(cells) + ' |')
    out.append('\n## Cube trees: critical path and projected speedup\n')
    out.append('| instance | tree of | cubes | work s | critical path s | makespan 64 s | makespan 256 s | speedup 64 | speedup 256 | bound work/path |')
    out.append('|---|---|---|---|---|---|---|---|---|---|')
    for inst in instances:
        s = rows.get((inst, 'single'))
        name = os.path.basename(inst)[:-4]
        for np in (3, 9):
            path = os.path.join(out_dir, 'trees', f'{name}.np{np}')
            if not os.path.exists(path) or not s:
                continue
            nodes = read_tree(path)
            work = sum(n[2] for n in nodes)
            cp = critical_path(nodes)
            m64, m256 = makespan(nodes, 64), makespan(nodes, 256)
            single = all_cpu(s) if s['verdict'] != 'UNKNOWN' else None
            sp = lambda m: '-' if not single or not m else f'{single / m:.1f}'
            out.append(f'| {inst} | np{np} | {len(nodes)} | {fmt(work)} | {fmt(cp, 3)} | {fmt(m64, 3)} | {fmt(m256, 3)} | '
                       f'{sp(m64)} | {sp(m256)} | {fmt(work / cp if cp else None, 1)} |')
    out.append('\n## Messages and bytes per second of solving (all ranks)\n')
    out.append('| instance | np3 msg/s | np3 kB/s | np5 msg/s | np5 kB/s | np9 msg/s | np9 kB/s |')
    out.append('|---|---|---|---|---|---|---|')
    for inst in instances:
        cells = []
        for config in ('np3', 'np5', 'np9'):
            r = rows.get((inst, config))
            t = num(r, 'solve_wall') if r else None
            if not t:
                cells += ['-', '-']
                continue
            cells += [f"{num(r, 'messages') / t:.0f}", f"{num(r, 'bytes') / t / 1000:.1f}"]
        out.append(f'| {inst} | ' + ' | '.join(cells) + ' |')
    out.append('\n## The certificate at -np 3\n')
    out.append('| instance | verdict | solve s | with --proof s | ratio | proof MB | check wall s | check CPU s | check |')
    out.append('|---|---|---|---|---|---|---|---|---|')
    for inst in instances:
        m, p, c = rows.get((inst, 'np3')), rows.get((inst, 'np3-proof')), rows.get((inst, 'check'))
        if not m or not p or p['verdict'] != 'UNSATISFIABLE':
            continue
        ratio = num(p, 'solve_wall') / num(m, 'solve_wall') if num(m, 'solve_wall') else None
        pb = num(p, 'proof_bytes')
        out.append(f"| {inst} | {p['verdict']} | {fmt(num(m, 'solve_wall'))} | {fmt(num(p, 'solve_wall'))} | {fmt(ratio)} | "
                   f"{fmt(pb / 1e6 if pb else None)} | {fmt(num(c, 'wall') if c else None)} | {fmt(num(c, 'cpu') if c else None)} | "
                   f"{c['verdict'] if c else '-'} |")
    with open(os.path.join(out_dir, 'report.md'), 'w') as f:
        f.write('\n'.join(out) + '\n')
    print('\n'.join(out))


if __name__ == '__main__':
    main()
