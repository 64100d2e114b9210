#!/usr/bin/env python3
"""Makes table.md from raw.tsv: per instance, wall and CPU seconds of the
portfolio (under a wall limit, and under a CPU limit per strategy), of each
single strategy and of MiniSat, and the portfolio's wall and CPU time
(CPU-limited run where there is one) over the best single strategy's. A run
that ended without a verdict (limit reached) is shown as "> T"."""
import csv
import os

here = os.path.dirname(os.path.abspath(__file__))
rows = list(csv.DictReader(open(os.path.join(here, 'raw.tsv')), delimiter='\t'))
solvers = ['portfolio', 'portfolio-cpu', 's0', 's1', 's2', 'minisat']
runs = {(r['instance'], r['solver']): r for r in rows}
instances = list(dict.fromkeys(r['instance'] for r in rows))


def solved(r):
    # MiniSat prints no "s " line; its status says it: 10 SAT, 20 UNSAT.
    return r['verdict'] in ('SATISFIABLE', 'UNSATISFIABLE') or (r['solver'] == 'minisat' and r['status'] in ('10', '20'))


def cell(r):
    if r is None:
        return '-'
    wall, cpu = float(r['wall_s']), float(r['cpu_s'])
    text = '%.2f / %.2f' % (wall, cpu)
    return text if solved(r) else '> ' + text


out = ['| instance | ' + ' | '.join(solvers) + ' | winner | wall / best single wall | CPU / best single CPU |',
       '|---|' + '---:|' * len(solvers) + '---|---:|---:|']
for inst in instances:
    cells = [cell(runs.get((inst, s))) for s in solvers]
    p = runs.get((inst, 'portfolio-cpu')) or runs.get((inst, 'portfolio'))
    singles = [runs[(inst, s)] for s in ('s0', 's1', 's2') if (inst, s) in runs and solved(runs[(inst, s)])]
    ratios = ['-', '-']
    if p and solved(p) and singles:
        ratios = ['%.2f' % (float(p[k]) / min(float(r[k]) for r in singles)) for k in ('wall_s', 'cpu_s')]
    out.append('| %s | %s | %s | %s |' % (inst, ' | '.join(cells), p['winner'] if p else '-', ' | '.join(ratios)))
out.append('')
out.append('Cells: wall seconds / CPU seconds (user + system); "> " marks a run stopped by its limit.')
open(os.path.join(here, 'table.md'), 'w').write('\n'.join(out) + '\n')
print('\n'.join(out))
