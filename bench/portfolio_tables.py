#!/usr/bin/env python3
"""Tables from a bench/portfolio.sh result directory.

usage: bench/portfolio_tables.py DIR

Reads DIR/raw.tsv (throughput.sh's lines: one per instance and solver,
the portfolio labelled "vetrix BUILD portfolio") and DIR/lanes.tsv (per
portfolio run, each strategy's conflicts and thread CPU seconds, and the
winner), and prints Markdown:

- per solver, the instances solved within the limit and their median wall
  time;
- the portfolio's targets: the instances some strategy alone solves and the
  portfolio does not; its wall time over the best single strategy's, median
  and largest;
- total time on the instances MiniSat solves, as a ratio to MiniSat's (an
  unsolved run counted at the limit, and over the instances both solved):
  each strategy alone, the best strategy per instance, and the portfolio
  with a core per strategy, estimated from its own run as its reading time
  (the process's CPU time outside the strategies' threads) plus the
  winner's thread CPU time;
- the winner thread's CPU time inside the portfolio over the same strategy's
  CPU time alone (the per-thread slowdown of sharing the machine);
- one line per instance.
"""
import csv
import os
import statistics
import sys
from collections import defaultdict

PEERS = ["MiniSat", "CaDiCaL", "PicoSAT"]


def load(path):
    with open(path, newline="") as f:
        return list(csv.DictReader(f, delimiter="\t"))


def label(solver):
    words = solver.split()
    return "vetrix " + words[2] if words[0] == "vetrix" and len(words) == 3 else solver


def main(outdir):
    runs = defaultdict(dict)  # solver -> path -> row
    for row in load(os.path.join(outdir, "raw.tsv")):
        runs[label(row["solver"])][row["path"]] = row
    lanes = defaultdict(dict)  # path -> strategy -> row
    for row in load(os.path.join(outdir, "lanes.tsv")):
        lanes[row["path"]][row["strategy"]] = row
    singles = [s for s in ("vetrix 0", "vetrix 1", "vetrix 2") if s in runs]
    port = "vetrix portfolio"
    solvers = singles + [port] + [p for p in PEERS if p in runs]
    paths = sorted({p for s in solvers for p in runs[s]})

    def winner_of(p):
        """The portfolio's winner line on p ("none" when no strategy decided), or None without one."""
        return next(iter(lanes[p].values()))["winner"] if lanes.get(p) else None

    def solved(s, p):
        r = runs[s].get(p)
        return r is not None and r["verdict"] == r["expected"]

    def wall(s, p):
        return float(runs[s][p]["wall_s"])

    def cpu(s, p):
        return float(runs[s][p]["cpu_s"])

    def best_single(p):
        done = [(wall(s, p), s) for s in singles if solved(s, p)]
        return min(done) if done else None

    print("## Solved within the limit\n")
    print("| solver | solved | median wall s of the solved | wrong verdicts |")
    print("|---|---:|---:|---:|")
    for s in solvers:
        done = [wall(s, p) for p in paths if solved(s, p)]
        wrong = sum(1 for p in paths if p in runs[s] and runs[s][p]["verdict"] in ("SAT", "UNSAT")
                    and runs[s][p]["verdict"] != runs[s][p]["expected"])
        print(f"| {s} | {len(done)} of {len(paths)} | {statistics.median(done):.2f} | {wrong} |" if done else
              f"| {s} | 0 of {len(paths)} | - | {wrong} |")

    print("\n## The portfolio against the best single strategy (wall time)\n")
    missed = [p for p in paths if best_single(p) and not solved(port, p)]
    ratios = [(wall(port, p) / best_single(p)[0], p) for p in paths if best_single(p) and solved(port, p)]
    print(f"- solved by some strategy alone but not by the portfolio: {len(missed)}"
          + (" (" + ", ".join(missed) + ")" if missed else ""))
    if ratios:
        worst = max(ratios)
        print(f"- portfolio wall / best single wall: median {statistics.median(r for r, _ in ratios):.2f}, "
              f"largest {worst[0]:.2f} ({worst[1]}), over {len(ratios)} instances")

    print("\n## Total time on the instances MiniSat solves, over MiniSat's (CPU seconds)\n")
    base = [p for p in paths if solved("MiniSat", p)]
    limit = max(float(r["wall_s"]) for s in solvers for r in runs[s].values())
    minisat = sum(cpu("MiniSat", p) for p in base)

    def total(f):
        return sum(f(p) for p in base)

    def alone(s):
        return lambda p: cpu(s, p) if solved(s, p) else limit

    def best(p):
        done = [cpu(s, p) for s in singles if solved(s, p)]
        return min(done) if done else limit

    def core_each(p):
        if not solved(port, p) or p not in lanes:
            return limit
        ls = lanes[p]
        reading = cpu(port, p) - sum(float(r["cpu_s"]) for r in ls.values())
        return max(reading, 0.0) + float(ls[winner_of(p)]["cpu_s"])

    def row(name, f, ok):
        both = [p for p in base if ok(p)]
        t = total(f)
        mb = sum(cpu("MiniSat", p) for p in both)
        tb = sum(f(p) for p in both)
        print(f"| {name} | {t:.1f} | {t / minisat:.2f} | {len(both)} | {tb / mb:.2f} |")

    print("| measure | total s | ratio to MiniSat | instances it solved | ratio on those |")
    print("|---|---:|---:|---:|---:|")
    print(f"| MiniSat | {minisat:.1f} | 1.00 | {len(base)} | 1.00 |")
    for s in singles:
        row(f"{s} alone", alone(s), lambda p, s=s: solved(s, p))
    row("best strategy per instance, alone", best, lambda p: any(solved(s, p) for s in singles))
    port_ok = lambda p: solved(port, p)  # noqa: E731
    row("portfolio, a core per strategy (reading + winner's thread CPU, measured inside)", core_each, port_ok)
    def winner_alone(p):
        s = "vetrix " + str(winner_of(p))
        return cpu(s, p) if port_ok(p) and solved(s, p) else limit

    row("the same winners alone, on the instances the portfolio solved (no sharing)", winner_alone, port_ok)
    row("portfolio, CPU of all its threads", lambda p: cpu(port, p) if port_ok(p) else limit, port_ok)
    row("portfolio, wall on this machine", lambda p: wall(port, p) if port_ok(p) else limit, port_ok)
    print(f"\n{len(base)} instances; in the first ratio an unsolved run counts as the limit, {limit:.0f} s; "
          "the second is over the instances both the measure and MiniSat solved.")

    print("\n## Per-thread slowdown: the winner's thread CPU inside the portfolio over the same strategy alone\n")
    slow = []
    for p in paths:
        if p in lanes and solved(port, p):
            w = winner_of(p)
            s = "vetrix " + w
            if s in runs and solved(s, p) and cpu(s, p) >= 0.5:
                slow.append((float(lanes[p][w]["cpu_s"]) / cpu(s, p), p))
    if slow:
        slow.sort()
        print(f"over {len(slow)} instances whose winner took at least 0.5 s alone: median "
              f"{statistics.median(r for r, _ in slow):.2f}, from {slow[0][0]:.2f} to {slow[-1][0]:.2f}")

    print("\n## Per instance (wall seconds; - unsolved within the limit)\n")
    print("| instance | " + " | ".join(solvers) + " | winner | portfolio / best single |")
    print("|---|" + "---:|" * (len(solvers) + 2))
    for p in paths:
        cells = [f"{wall(s, p):.2f}" if solved(s, p) else "-" for s in solvers]
        w = winner_of(p) or "-"
        b = best_single(p)
        r = f"{wall(port, p) / b[0]:.2f}" if b and solved(port, p) else "-"
        print(f"| {p.removesuffix('.cnf')} | " + " | ".join(cells) + f" | {w} | {r} |")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
