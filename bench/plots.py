#!/usr/bin/python3
"""Pictures of a tier's runs from throughput.sh's raw data.

usage: bench/plots.py [-o DIR] [--build NAME] [--name NAME] [--wall] [--svg] RESULT_DIR...

Reads RESULT_DIR/raw.tsv of every directory given (bench/throughput.sh's
or bench/fast_peers.sh's lines: path, solver, expected and found verdict,
wall and CPU seconds, ...)
and draws, from CPU seconds (wall seconds with --wall, for runs that use
several threads such as the portfolio, "vetrix BUILD portfolio"):

  DIR/NAME-cactus.png   instances solved against time, one line per solver
  DIR/NAME-scatter.png  per instance, each solver's time against MiniSat's,
                        log-log, unsolved runs at the limit

(and .svg beside with --svg). A solved run is one whose verdict is the
expected one; the limit is the CPU limit of run-info.txt. vetrix runs are
labelled "vetrix BUILD N" (N the strategy); only the build NAME (default
"now") is drawn, as "vetrix N". A solver that ran fewer instances than the
others says so in its legend; the instances it did not run count as
unsolved. Needs Debian's python3-matplotlib (tools/install_peers.sh
--bench), hence /usr/bin/python3.
"""
import argparse
import collections
import csv
import math
import os
import re
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402 (after the backend is chosen)

PEERS = ["MiniSat", "CaDiCaL", "PicoSAT"]
# the solver names of bench/fast_peers.sh's raw data
NAMES = {"fast": "vetrix fast", "minisat": "MiniSat", "cadical": "CaDiCaL"}
SHORTEST = 0.01  # seconds: faster runs are drawn here on the log scales


def read_runs(dirs, build, column):
    """{solver: {path: (solved, cpu_s)}} over every raw.tsv, the later
    directory winning when two ran the same solver on the same instance."""
    runs = collections.defaultdict(dict)
    for d in dirs:
        with open(os.path.join(d, "raw.tsv"), newline="") as f:
            for row in csv.DictReader(f, delimiter="\t"):
                label = NAMES.get(row["solver"], row["solver"])
                words = label.split()
                if words[0] == "vetrix" and label not in NAMES.values():
                    if len(words) != 3 or words[1] != build:
                        continue
                    label = "vetrix " + words[2]
                solved = row["verdict"] == row["expected"]
                runs[label][row["path"]] = (solved, float(row[column]))
    return runs


def cpu_limit(dirs):
    """The CPU limit run-info.txt gives ("CPU 60"), or machine.txt's command
    (fast_peers.sh's "-C 60"), or None."""
    for d in dirs:
        for name, pattern in (("run-info.txt", r"CPU (\d+(?:\.\d+)?)"), ("machine.txt", r"-C (\d+(?:\.\d+)?)")):
            try:
                with open(os.path.join(d, name)) as f:
                    m = re.search(pattern, f.read())
            except OSError:
                continue
            if m:
                return float(m.group(1))
    return None


def solver_order(runs):
    vetrix = sorted(s for s in runs if s.startswith("vetrix"))
    others = sorted(s for s in runs if not s.startswith("vetrix") and s not in PEERS)
    return vetrix + others + [p for p in PEERS if p in runs]


def legend_label(solver, runs, instances):
    solved = sum(1 for ok, _ in runs[solver].values() if ok)
    ran = len(runs[solver])
    text = "%s (%d solved)" % (solver, solved)
    if ran < len(instances):
        text = "%s (%d solved, %d of %d run)" % (solver, solved, ran, len(instances))
    return text


def style(solver):
    if solver.startswith("vetrix"):
        return {"linestyle": "-", "linewidth": 2.0}
    return {"linestyle": "--", "linewidth": 1.5}


def cactus(runs, solvers, instances, limit, title, unit, out):
    fig, ax = plt.subplots(figsize=(8, 5))
    for s in solvers:
        times = sorted(max(t, SHORTEST) for ok, t in runs[s].values() if ok)
        ax.plot(range(1, len(times) + 1), times, marker=".", markersize=4, label=legend_label(s, runs, instances),
                **style(s))
    ax.set_yscale("log")
    ax.set_xlim(0, len(instances) + 1)
    ax.set_ylim(SHORTEST, limit * 1.2)
    ax.axhline(limit, color="grey", linewidth=0.8, linestyle=":")
    ax.set_xlabel("instances solved (of %d)" % len(instances))
    ax.set_ylabel("%s seconds per instance (limit %g s)" % (unit, limit))
    ax.set_title(title)
    ax.grid(True, which="both", alpha=0.3)
    ax.legend(loc="upper left", fontsize=8)
    fig.tight_layout()
    fig.savefig(out)
    plt.close(fig)


def scatter(runs, solvers, limit, title, unit, out):
    others = [s for s in solvers if s != "MiniSat"]
    cols = 3
    rows = math.ceil(len(others) / cols)
    fig, axes = plt.subplots(rows, cols, figsize=(4 * cols, 4 * rows), squeeze=False)
    edge = limit * 1.5  # unsolved runs are drawn here, beyond the limit
    base = runs["MiniSat"]
    for ax, s in zip(axes.flat, others):
        both = [p for p in runs[s] if p in base]

        def at(ok, t):
            return max(t, SHORTEST) if ok else edge

        xs = [at(*base[p]) for p in both]
        ys = [at(*runs[s][p]) for p in both]
        faster = sum(1 for x, y in zip(xs, ys) if y < x)
        slower = sum(1 for x, y in zip(xs, ys) if y > x)
        ax.scatter(xs, ys, s=18, alpha=0.7)
        ax.plot([SHORTEST, edge], [SHORTEST, edge], color="grey", linewidth=0.8)
        for f in (10, 0.1):
            ax.plot([SHORTEST, edge], [SHORTEST * f, edge * f], color="grey", linewidth=0.5, linestyle=":")
        ax.axhline(limit, color="red", linewidth=0.5, linestyle=":")
        ax.axvline(limit, color="red", linewidth=0.5, linestyle=":")
        ax.set_xscale("log")
        ax.set_yscale("log")
        ax.set_xlim(SHORTEST * 0.8, edge * 1.3)
        ax.set_ylim(SHORTEST * 0.8, edge * 1.3)
        ax.set_aspect("equal")
        ax.set_xlabel("MiniSat, %s s" % unit)
        ax.set_ylabel("%s, %s s" % (s, unit))
        ax.set_title("%s: %d faster, %d slower" % (s, faster, slower), fontsize=10)
        ax.grid(True, which="major", alpha=0.3)
    for ax in list(axes.flat)[len(others):]:
        ax.axis("off")
    fig.suptitle(title + " (unsolved at %g s, dotted: 10x)" % edge)
    fig.tight_layout()
    fig.savefig(out)
    plt.close(fig)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("dirs", nargs="+", metavar="RESULT_DIR")
    ap.add_argument("-o", "--out", default="bench/plots", help="output directory (default bench/plots)")
    ap.add_argument("--build", default="now", help="the vetrix build label drawn (default now)")
    ap.add_argument("--name", default="hard60", help="file name stem (default hard60)")
    ap.add_argument("--title", default="hard tier, 60 s of CPU per run", help="title of both pictures")
    ap.add_argument("--wall", action="store_true", help="wall seconds instead of CPU seconds")
    ap.add_argument("--svg", action="store_true", help="SVG files beside the PNGs")
    args = ap.parse_args()

    unit = "wall" if args.wall else "CPU"
    runs = read_runs(args.dirs, args.build, "wall_s" if args.wall else "cpu_s")
    if "MiniSat" not in runs:
        sys.exit("plots.py: no MiniSat runs in %s" % " ".join(args.dirs))
    solvers = solver_order(runs)
    instances = set()
    for s in solvers:
        instances.update(runs[s])
    limit = (None if args.wall else cpu_limit(args.dirs)) or round(max(t for s in solvers for _, t in runs[s].values()))
    os.makedirs(args.out, exist_ok=True)
    for ext in ["png"] + (["svg"] if args.svg else []):
        cactus(runs, solvers, instances, limit, args.title, unit,
               os.path.join(args.out, "%s-cactus.%s" % (args.name, ext)))
        scatter(runs, solvers, limit, args.title, unit, os.path.join(args.out, "%s-scatter.%s" % (args.name, ext)))
        print("wrote %s/%s-cactus.%s and %s-scatter.%s" % (args.out, args.name, ext, args.name, ext))


if __name__ == "__main__":
    main()
