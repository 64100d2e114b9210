#!/usr/bin/env python3
"""Tables of a bench/fast_peers.sh run: per solver the instances solved,
wrong verdicts and bad models, and beside each peer the fast engine's total
and median time ratio over the instances both solved, wall and CPU; then
per solver the CPU time per propagation (and per watch visit, for the fast
engine) over its runs of at least half a CPU second.

usage: bench/fast_summary.py DIR     (DIR holds raw.tsv)
"""
import csv
import statistics
import sys


def main():
    rows = list(csv.DictReader(open(sys.argv[1] + "/raw.tsv"), delimiter="\t"))
    solvers = list(dict.fromkeys(r["solver"] for r in rows))
    runs = {(r["solver"], r["path"]): r for r in rows}
    paths = list(dict.fromkeys(r["path"] for r in rows))

    def solved(s, p):
        r = runs.get((s, p))
        return r is not None and r["verdict"] in ("SAT", "UNSAT")

    print("| solver | solved | wrong | bad models | wall s (solved) | cpu s (solved) |")
    print("|---|---|---|---|---|---|")
    for s in solvers:
        mine = [runs[(s, p)] for p in paths if solved(s, p)]
        wrong = sum(1 for r in mine if r["expected"] in ("SAT", "UNSAT") and r["verdict"] != r["expected"])
        bad = sum(1 for r in mine if r["model"] == "FAIL")
        print("| %s | %d/%d | %d | %d | %.1f | %.1f |" % (
            s, len(mine), len(paths), wrong, bad, sum(float(r["wall_s"]) for r in mine),
            sum(float(r["cpu_s"]) for r in mine)))
    if "fast" not in solvers:
        return
    print()
    print("| fast against | both solved | total ratio wall | median ratio wall | total ratio cpu | median ratio cpu |")
    print("|---|---|---|---|---|---|")
    for peer in solvers:
        if peer == "fast":
            continue
        both = [p for p in paths if solved("fast", p) and solved(peer, p)]
        if not both:
            continue
        line = "| %s | %d |" % (peer, len(both))
        for key in ("wall_s", "cpu_s"):
            mine = [max(float(runs[("fast", p)][key]), 0.01) for p in both]
            theirs = [max(float(runs[(peer, p)][key]), 0.01) for p in both]
            line += " %.2f | %.2f |" % (sum(mine) / sum(theirs),
                                        statistics.median(m / t for m, t in zip(mine, theirs)))
        print(line)
    print()
    print("| solver | ns per propagation (median) | ns per watch visit (median) |")
    print("|---|---|---|")
    for s in solvers:
        per_prop, per_visit = [], []
        for p in paths:
            r = runs.get((s, p))
            if not r or not solved(s, p) or float(r["cpu_s"]) < 0.5:
                continue
            if r["propagations"] not in ("-", "0"):
                per_prop.append(1e9 * float(r["cpu_s"]) / float(r["propagations"]))
            if r["visits"] not in ("-", "0"):
                per_visit.append(1e9 * float(r["cpu_s"]) / float(r["visits"]))
        fmt = lambda xs: "%.1f (%d runs)" % (statistics.median(xs), len(xs)) if xs else "-"
        print("| %s | %s | %s |" % (s, fmt(per_prop), fmt(per_visit)))


if __name__ == "__main__":
    main()
