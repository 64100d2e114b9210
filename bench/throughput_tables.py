#!/usr/bin/env python3
"""Tables from a bench/throughput.sh result directory.

usage: bench/throughput_tables.py DIR

Reads DIR/raw.tsv (one line per instance and solver) and DIR/run-info.txt,
prints Markdown:

- a summary per solver: instances solved; over the instances that the solver
  and MiniSat both solved, the median and the largest ratio of time per
  propagation (the solver's over MiniSat's) and the ratio of total times;
- every vetrix build against the first build of the same strategy: CPU time
  ratios over the instances both solved;
- the watch visits per propagation and CPU ns per visit of every vetrix
  run, against the ns per visit at which its time per propagation would
  equal MiniSat's;
- watch-list visits per second of every vetrix run that finished on
  uf250/uf250-011;
- one table per instance: conflicts, propagations, wall and CPU seconds and
  nanoseconds per propagation of every solver, and the ratio of the last to
  MiniSat's.

Times per propagation, visit rates and total-time ratios use CPU seconds
(user + system) of the whole process, reading and start-up included: on a
shared machine they move less with the load than wall time does. The limit
per run is on wall time. A vetrix build without --stats has its counters
from another build's run of the same search (borrow_counters).
"""
import csv
import re
import statistics
import sys

PEER = "MiniSat"


def load(path):
    with open(path, newline="") as f:
        return list(csv.DictReader(f, delimiter="\t"))


def solved(r):
    return r["verdict"] in ("SAT", "UNSAT") and r["verdict"] == r["expected"]


def both_solved(by, paths, s, ref):
    """The (s row, ref row) pairs of the instances both solved, in path order."""
    for p in paths:
        a, r = by.get((p, s)), by.get((p, ref))
        if a is not None and r is not None and solved(a) and solved(r):
            yield p, a, r


def ns_per_prop(r):
    if not solved(r) or r["propagations"] in ("-", "", "0"):
        return None
    return float(r["cpu_s"]) * 1e9 / int(r["propagations"])


def fmt_int(s):
    return f"{int(s):,}" if s not in ("-", "") else "-"


def fmt_ratio(x):
    return "-" if x is None else f"{x:.2f}"


def starved(rows, info):
    """Timeouts: at the CPU limit, or on wall time with less than half of it in CPU time."""
    m = re.search(r"limit (\d+(?:\.\d+)?)s", info)
    c = re.search(r"CPU (\d+(?:\.\d+)?)", info)
    timeouts = [r for r in rows if r["verdict"] == "TIMEOUT"]
    if not m or not timeouts:
        return
    limit = float(m.group(1))
    cpu_limit = float(c.group(1)) if c else None
    at_cpu = [r for r in timeouts if cpu_limit is not None and float(r["cpu_s"]) >= cpu_limit - 1]
    few = [r for r in timeouts if r not in at_cpu and float(r["cpu_s"]) < limit / 2]
    text = f"Timeouts: {len(timeouts)} runs"
    if cpu_limit is not None:
        text += f"; {len(at_cpu)} at the {cpu_limit:g} s CPU limit"
    print(f"{text}; {len(few)} with less than half of the {limit:g} s wall limit in CPU time "
          f"(starved by the machine's load, not slow).")
    print()


COUNTERS = ("conflicts", "decisions", "propagations", "visits")


def vetrix_strategy(label):
    """The strategy of a vetrix run's label ("vetrix BUILD STRATEGY"), else None."""
    parts = label.split()
    return parts[2] if parts[0] == "vetrix" and len(parts) == 3 else None


def borrow_counters(rows):
    """A vetrix build older than its --stats option prints no counters. Its
    solved runs take them from a run of another vetrix build on the same
    instance and strategy that solved it: the builds run the same search, so
    only its cost differs. Returns the labels that borrowed."""
    runs = [(r, (r["path"], vetrix_strategy(r["solver"]))) for r in rows
            if vetrix_strategy(r["solver"]) is not None and solved(r)]
    counted = {}
    for r, key in runs:
        if r["propagations"] not in ("-", ""):
            counted.setdefault(key, r)
    borrowed = set()
    for r, key in runs:
        donor = counted.get(key)
        if donor and r["propagations"] in ("-", ""):
            for c in COUNTERS:
                r[c] = donor[c]
            borrowed.add(r["solver"])
    return sorted(borrowed)


def paired(by, paths, solvers):
    """Every vetrix build against the first one named with the same strategy."""
    builds = {}
    for s in solvers:
        if vetrix_strategy(s) is not None:
            builds.setdefault(vetrix_strategy(s), []).append(s)
    rows = []
    for strategy, labels in builds.items():
        ref = labels[0]
        for s in labels[1:]:
            ratios, t_s, t_r = [], 0.0, 0.0
            for _, a, r in both_solved(by, paths, s, ref):
                t_s += float(a["cpu_s"])
                t_r += float(r["cpu_s"])
                ratios.append(float(a["cpu_s"]) / max(float(r["cpu_s"]), 0.01))
            if ratios:
                rows.append((s, ref, len(ratios), statistics.median(ratios), min(ratios), max(ratios), t_s / t_r))
    if not rows:
        return
    print("Builds compared on the instances both solved (same search, so the same counters): CPU time ratio.")
    print()
    print("| build | against | both solved | median ratio | smallest | largest | total-time ratio |")
    print("|---|---|---:|---:|---:|---:|---:|")
    for s, ref, n, med, lo, hi, tot in rows:
        print(f"| {s} | {ref} | {n} | {med:.2f} | {lo:.2f} | {hi:.2f} | {tot:.2f} |")
    print()


def visit_budget(by, paths, solvers):
    """Per vetrix run over the instances it and MiniSat both solved: watch
    visits per propagation (fixed by the search), CPU ns per visit, and the ns
    per visit at which its time per propagation would equal MiniSat's."""
    rows = []
    for s in solvers:
        per, cost, need = [], [], []
        for _, a, m in both_solved(by, paths, s, PEER):
            nm = ns_per_prop(m)
            if a["visits"] in ("-", "", "0") or nm is None:
                continue
            v = int(a["visits"]) / int(a["propagations"])
            per.append(v)
            cost.append(float(a["cpu_s"]) * 1e9 / int(a["visits"]))
            need.append(nm / v)
        if per:
            rows.append((s, len(per), statistics.median(per), statistics.median(cost), statistics.median(need),
                         sum(1 for c, n in zip(cost, need) if c <= n)))
    if not rows:
        return
    print(f"Watch visits against {PEER}'s time per propagation (medians over the instances both solved):")
    print()
    print(f"| solver | instances | visits per propagation | CPU ns per visit | ns per visit that would equal {PEER}'s time per propagation | instances at or below it |")
    print("|---|---:|---:|---:|---:|---:|")
    for s, n, v, c, nd, ok in rows:
        print(f"| {s} | {n} | {v:.1f} | {c:.1f} | {nd:.1f} | {ok} |")
    print()


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: throughput_tables.py DIR")
    d = sys.argv[1]
    rows = load(f"{d}/raw.tsv")
    borrowed = borrow_counters(rows)
    solvers = list(dict.fromkeys(r["solver"] for r in rows))
    paths = list(dict.fromkeys(r["path"] for r in rows))
    by = {(r["path"], r["solver"]): r for r in rows}

    print("Run: " + "; ".join(open(f"{d}/run-info.txt").read().strip().splitlines()))
    print()
    print(f"Ratios against {PEER}, over the instances both solved; time per propagation = CPU time / propagations.")
    print()
    if borrowed:
        print("Counters of " + ", ".join(borrowed) + " (a build without --stats): those of another build's run "
              "of the same instance and strategy, which runs the same search.")
        print()
    print("| solver | solved | both solved | median ratio of time per propagation | largest (instance) | instances above 2 | total-time ratio |")
    print("|---|---:|---:|---:|---|---:|---:|")
    for s in solvers:
        n_solved = sum(1 for p in paths if (p, s) in by and solved(by[(p, s)]))
        ratios, t_s, t_m = [], 0.0, 0.0
        for p, a, m in both_solved(by, paths, s, PEER):
            t_s += float(a["cpu_s"])
            t_m += float(m["cpu_s"])
            na, nm = ns_per_prop(a), ns_per_prop(m)
            if na is not None and nm is not None:
                ratios.append((na / nm, p))
        if s == PEER or not ratios:
            print(f"| {s} | {n_solved} | | | | | |")
            continue
        worst = max(ratios)
        above = sum(1 for x, _ in ratios if x > 2)
        print(f"| {s} | {n_solved} | {len(ratios)} | {statistics.median(x for x, _ in ratios):.2f} "
              f"| {worst[0]:.2f} ({worst[1]}) | {above} | {t_s / t_m:.2f} |")
    print()

    starved(rows, open(f"{d}/run-info.txt").read())
    paired(by, paths, solvers)
    visit_budget(by, paths, solvers)

    visits = [(s, by[(p, s)]) for p in paths for s in solvers
              if p == "uf250/uf250-011.cnf" and (p, s) in by and by[(p, s)]["visits"] not in ("-", "")
              and solved(by[(p, s)])]
    if visits:
        print("Watch-list visits on uf250/uf250-011:")
        print()
        print("| solver | visits | CPU s | million visits per CPU second | visits per propagation |")
        print("|---|---:|---:|---:|---:|")
        for s, r in visits:
            v = int(r["visits"])
            print(f"| {s} | {v:,} | {float(r['cpu_s']):.2f} | {v / float(r['cpu_s']) / 1e6:.0f} "
                  f"| {v / int(r['propagations']):.1f} |")
        print()

    print("Per instance (ns per propagation: CPU time over propagations; ratio: that over MiniSat's):")
    print()
    print("| instance | solver | verdict | conflicts | propagations | wall s | CPU s | ns per propagation | ratio | peak RSS MB |")
    print("|---|---|---|---:|---:|---:|---:|---:|---:|---:|")
    for p in paths:
        m = by.get((p, PEER))
        nm = ns_per_prop(m) if m else None
        for s in solvers:
            r = by.get((p, s))
            if r is None:
                continue
            na = ns_per_prop(r)
            ratio = na / nm if na is not None and nm is not None else None
            rss = f"{int(r['rss_kb']) / 1024:.1f}" if r["rss_kb"] not in ("-", "") else "-"
            print(f"| {p.removesuffix('.cnf')} | {s} | {r['verdict']} | {fmt_int(r['conflicts'])} "
                  f"| {fmt_int(r['propagations'])} | {float(r['wall_s']):.2f} | {float(r['cpu_s']):.2f} "
                  f"| {'-' if na is None else f'{na:.0f}'} | {fmt_ratio(ratio)} | {rss} |")


if __name__ == "__main__":
    main()
