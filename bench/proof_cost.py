#!/usr/bin/env python3
"""What a DRAT proof costs: vetrix over a tier of the corpus without a proof,
with --proof=/dev/null and with --proof to a real file, and CaDiCaL without
and with its own proof (a real file) as the peer, all in one run.

usage: bench/proof_cost.py [-b BINARY] [-s STRATEGY] [-r ROUNDS] [-t SECONDS]
                           [-o DIR] [-c CORPUS] [TIER]

Every instance of the tier (default medium) runs once per configuration per
round; within an instance the configurations take turns in an order that
rotates from one instance to the next, so a change in the machine's load falls
on all of them. DIR/raw.tsv holds one line per run (round, instance,
configuration, wall seconds, first output line, proof bytes); the summary is
printed and written to DIR/summary.md. Run `bench/proof_cost.py --summary DIR`
to summarize an existing DIR again. The corpus is $VETRIX_CORPUS, by default
../shared/bench beside the repository.
"""
import argparse
import collections
import os
import statistics
import subprocess
import sys
import time

CONFIGS = ["plain", "devnull", "file", "cadical", "cadical_proof"]


def manifest(corpus, tier):
    rows = []
    with open(os.path.join(corpus, "MANIFEST.tsv")) as f:
        next(f)
        for line in f:
            col = line.rstrip("\n").split("\t")
            if tier == "all" or col[7] == tier:
                rows.append(col[0])
    return rows


def command(config, binary, strategy, cnf, proof):
    if config == "plain":
        return [binary, cnf, strategy]
    if config == "devnull":
        return [binary, "--proof=/dev/null", cnf, strategy]
    if config == "file":
        return [binary, "--proof=" + proof, cnf, strategy]
    if config == "cadical":
        return ["cadical", "-q", cnf]
    return ["cadical", "-q", cnf, proof]


def run_one(cmd, limit, proof):
    if os.path.exists(proof):
        os.remove(proof)
    start = time.perf_counter()
    try:
        p = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=limit)
        wall = time.perf_counter() - start
        first = p.stdout.decode(errors="replace").split("\n", 1)[0]
    except subprocess.TimeoutExpired:
        wall, first = limit, "timeout"
    size = os.path.getsize(proof) if os.path.exists(proof) else 0
    return wall, first, size


def measure(args):
    os.makedirs(args.out, exist_ok=True)
    proof = os.path.join(args.out, "proof.drat")
    paths = manifest(args.corpus, args.tier)
    with open(os.path.join(args.out, "raw.tsv"), "w") as raw:
        raw.write("round\tinstance\tconfig\twall_s\tverdict\tproof_bytes\n")
        for rnd in range(args.rounds):
            for k, path in enumerate(paths):
                cnf = os.path.join(args.corpus, path)
                shift = (k + rnd) % len(CONFIGS)
                for config in CONFIGS[shift:] + CONFIGS[:shift]:
                    cmd = command(config, args.binary, args.strategy, cnf, proof)
                    wall, first, size = run_one(cmd, args.limit, proof)
                    raw.write(f"{rnd}\t{path}\t{config}\t{wall:.6f}\t{first}\t{size}\n")
                raw.flush()
            print(f"round {rnd + 1}/{args.rounds} done", file=sys.stderr)
    if os.path.exists(proof):
        os.remove(proof)


def summarize(out):
    runs = collections.defaultdict(dict)  # (round, instance) -> config -> (wall, verdict, bytes)
    with open(os.path.join(out, "raw.tsv")) as f:
        next(f)
        for line in f:
            rnd, inst, config, wall, verdict, size = line.rstrip("\n").split("\t")
            runs[(int(rnd), inst)][config] = (float(wall), verdict, int(size))
    rounds = sorted({r for r, _ in runs})
    # Instances every configuration solved in every round.
    solved = collections.defaultdict(lambda: True)
    for (rnd, inst), by in runs.items():
        ok = all(c in by and by[c][1].startswith("s ") and by[c][1] != "s UNKNOWN" for c in CONFIGS)
        solved[inst] = solved[inst] and ok
    insts = sorted(i for i, ok in solved.items() if ok)
    lines = [f"Instances solved by every configuration in every round: {len(insts)} "
             f"of {len(solved)}; {len(rounds)} rounds.", ""]
    lines.append("| round | vetrix plain s | /dev/null s | file s | /dev/null ÷ plain | file ÷ plain "
                 "| CaDiCaL s | CaDiCaL proof s | CaDiCaL proof ÷ plain |")
    lines.append("|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
    ratios = collections.defaultdict(list)
    for rnd in rounds:
        tot = {c: sum(runs[(rnd, i)][c][0] for i in insts) for c in CONFIGS}
        r_null, r_file = tot["devnull"] / tot["plain"], tot["file"] / tot["plain"]
        r_cad = tot["cadical_proof"] / tot["cadical"]
        ratios["devnull"].append(r_null)
        ratios["file"].append(r_file)
        ratios["cadical"].append(r_cad)
        lines.append(f"| {rnd + 1} | {tot['plain']:.2f} | {tot['devnull']:.2f} | {tot['file']:.2f} | "
                     f"{r_null:.3f} | {r_file:.3f} | {tot['cadical']:.2f} | {tot['cadical_proof']:.2f} | "
                     f"{r_cad:.3f} |")
    lines.append("")
    for c, label in [("devnull", "vetrix /dev/null ÷ plain"), ("file", "vetrix file ÷ plain"),
                     ("cadical", "CaDiCaL proof ÷ plain")]:
        v = ratios[c]
        lines.append(f"- {label}: median {statistics.median(v):.3f}, range {min(v):.3f} to {max(v):.3f}")
    # Instance-level noise: the spread of plain runs of one instance across rounds.
    if len(rounds) > 1:
        spreads = []
        for i in insts:
            walls = [runs[(r, i)]["plain"][0] for r in rounds]
            if min(walls) >= 0.1:
                spreads.append(max(walls) / min(walls))
        if spreads:
            lines.append(f"- noise: over the {len(spreads)} instances whose plain run takes at least 0.1 s, "
                         f"the slowest of the rounds is {statistics.median(spreads):.3f}× the fastest "
                         f"(median), up to {max(spreads):.3f}×")
    # Proof sizes of the vetrix file runs (round 1) and CaDiCaL's (binary DRAT).
    first = rounds[0]
    sizes = [runs[(first, i)]["file"][2] for i in insts]
    unsat = [runs[(first, i)]["file"][2] for i in insts if runs[(first, i)]["file"][1] == "s UNSATISFIABLE"]
    cad = [runs[(first, i)]["cadical_proof"][2] for i in insts]
    big = max(insts, key=lambda i: runs[(first, i)]["file"][2])
    lines.append(f"- vetrix proofs (text DRAT): {sum(sizes) / 1e6:.1f} MB in all, "
                 f"{sum(unsat) / 1e6:.1f} MB for the {len(unsat)} UNSAT instances, median "
                 f"{statistics.median(sizes) / 1e3:.1f} kB, largest {max(sizes) / 1e6:.1f} MB ({big}); "
                 f"CaDiCaL (binary DRAT): {sum(cad) / 1e6:.1f} MB in all")
    text = "\n".join(lines) + "\n"
    with open(os.path.join(out, "summary.md"), "w") as f:
        f.write(text)
    print(text, end="")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("-b", dest="binary", default=os.path.join(here, "..", "build-bench", "vetrix"))
    ap.add_argument("-s", dest="strategy", default="0")
    ap.add_argument("-r", dest="rounds", type=int, default=3)
    ap.add_argument("-t", dest="limit", type=float, default=10.0)
    ap.add_argument("-o", dest="out", default=time.strftime("/tmp/vetrix-proof-cost-%Y%m%d-%H%M%S"))
    ap.add_argument("-c", dest="corpus", default=os.environ.get("VETRIX_CORPUS", os.path.join(here, "..", "..", "shared", "bench")))
    ap.add_argument("--summary", metavar="DIR")
    ap.add_argument("tier", nargs="?", default="medium")
    args = ap.parse_args()
    if args.summary:
        summarize(args.summary)
        return
    measure(args)
    summarize(args.out)


if __name__ == "__main__":
    main()
