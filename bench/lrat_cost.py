#!/usr/bin/env python3
"""What an LRAT proof costs and what it saves: on the UNSAT instances of the
given tiers (default medium and hard), for each strategy, vetrix without a
proof, with a DRAT proof and with an LRAT proof (text, files in DIR), then
the DRAT proof checked by the project's dratcheck and the LRAT proof by its
lratcheck.

usage: bench/lrat_cost.py [-b BUILD_DIR] [-s 0,1,2,fast] [-t SECONDS] [-T SECONDS]
                          [-o DIR] [-c CORPUS] [-i PATH,...] [--check drat,lrat] [TIER ...]

-i limits the run to the listed instances (paths as MANIFEST.tsv gives them)
of the tiers; strategy fast runs as --strategy=fast. --check names the
proofs checked (default both; --check lrat leaves out the DRAT checks).

Per instance and strategy the three solves run one after another in an order
that rotates from one to the next, so that a change in the machine's load
falls on all three; when the first of them reaches the time limit (-t,
default 20 s of wall time) the rest are skipped. The checks run when all three answered
UNSAT; a check may take -T seconds
(default 300). DIR/raw.tsv holds one line per run (instance, strategy,
configuration, wall and CPU seconds, verdict line, proof bytes); the summary
of the CPU times (of the wall times with --wall) is printed and written to
DIR/summary-cpu.md (summary-wall.md). `bench/lrat_cost.py --summary DIR`
summarizes an existing DIR again. The corpus is $VETRIX_CORPUS, by default
../shared/bench beside the repository.
"""
import argparse
import collections
import os
import resource
import statistics
import subprocess
import sys
import time

SOLVES = ["plain", "drat", "lrat"]


def unsat_instances(corpus, tiers):
    rows = []
    with open(os.path.join(corpus, "MANIFEST.tsv")) as f:
        next(f)
        for line in f:
            col = line.rstrip("\n").split("\t")
            if col[4] == "UNSAT" and col[7] in tiers:
                rows.append(col[0])
    return rows


def cpu_of_children():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def run(cmd, limit, proof=None, verdict_line=0):
    """Wall and CPU seconds, the verdict line (the first or the last line of
    standard output, "timeout" past the wall-time limit) and the proof's
    bytes."""
    cpu = cpu_of_children()
    start = time.perf_counter()
    try:
        p = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=limit)
        wall = time.perf_counter() - start
        lines = p.stdout.decode(errors="replace").splitlines() or [""]
        verdict = lines[verdict_line]
    except subprocess.TimeoutExpired:
        wall, verdict = limit, "timeout"
    cpu = cpu_of_children() - cpu
    size = os.path.getsize(proof) if proof and os.path.exists(proof) else 0
    return wall, cpu, verdict, size


def measure(args):
    os.makedirs(args.out, exist_ok=True)
    vetrix = os.path.join(args.build, "vetrix")
    proofs = {"drat": os.path.join(args.out, "proof.drat"), "lrat": os.path.join(args.out, "proof.lrat")}
    checkers = {"drat": os.path.join(args.build, "tools", "dratcheck"),
                "lrat": os.path.join(args.build, "tools", "lratcheck")}
    paths = [p for p in unsat_instances(args.corpus, args.tiers) if not args.only or p in args.only]
    with open(os.path.join(args.out, "raw.tsv"), "w") as raw:
        raw.write("instance\tstrategy\tconfig\twall_s\tcpu_s\tverdict\tproof_bytes\n")
        for k, path in enumerate(paths):
            cnf = os.path.join(args.corpus, path)
            for s, strategy in enumerate(args.strategies):
                shift = (k + s) % len(SOLVES)
                chosen = ["--strategy=fast"] if strategy == "fast" else [strategy]
                verdicts = []
                for config in SOLVES[shift:] + SOLVES[:shift]:
                    options = [] if config == "plain" else ["--proof=" + proofs[config]]
                    options += ["--lrat"] if config == "lrat" else []
                    wall, cpu, verdict, size = run([vetrix] + options + [cnf] + chosen, args.limit,
                                                   proofs.get(config))
                    raw.write(f"{path}\t{strategy}\t{config}\t{wall:.6f}\t{cpu:.6f}\t{verdict}\t{size}\n")
                    verdicts.append(verdict)
                    if verdict == "timeout":
                        break
                if verdicts == ["s UNSATISFIABLE"] * len(SOLVES):
                    for kind in args.check:
                        wall, cpu, verdict, _ = run([checkers[kind], cnf, proofs[kind]], args.check_limit, None, -1)
                        raw.write(f"{path}\t{strategy}\t{kind}check\t{wall:.6f}\t{cpu:.6f}\t{verdict}\t0\n")
                raw.flush()
            print(f"{k + 1}/{len(paths)} {path}", file=sys.stderr)
    for proof in proofs.values():
        if os.path.exists(proof):
            os.remove(proof)


def ratio_line(label, ratios):
    if not ratios:
        return f"| {label} | 0 | | | |"
    return (f"| {label} | {len(ratios)} | {statistics.median(ratios):.3f} | {min(ratios):.3f} | "
            f"{max(ratios):.3f} |")


def summarize(out, clock):
    runs = collections.defaultdict(dict)  # (instance, strategy) -> config -> (seconds, verdict, bytes)
    with open(os.path.join(out, "raw.tsv")) as f:
        next(f)
        for line in f:
            inst, strategy, config, wall, cpu, verdict, size = line.rstrip("\n").split("\t")
            runs[(inst, strategy)][config] = (float(cpu if clock == "cpu" else wall), verdict, int(size))
    strategies = sorted({s for _, s in runs})
    lines = []
    ratios = collections.defaultdict(list)  # (strategy or "all", what) -> per-instance ratios
    for (inst, strategy), by in sorted(runs.items()):
        if not all(c in by and by[c][1] == "s UNSATISFIABLE" for c in SOLVES):
            continue
        plain, drat, lrat = (by[c][0] for c in SOLVES)
        for key in (strategy, "all"):
            r = ratios
            r[(key, "n")].append(1)
            r[(key, "lrat/plain")].append(lrat / plain)
            r[(key, "drat/plain")].append(drat / plain)
            r[(key, "lrat/drat")].append(lrat / drat)
            if plain >= 0.5:
                r[(key, "lrat/plain long")].append(lrat / plain)
            r[(key, "bytes")].append(by["lrat"][2] / by["drat"][2])
            r[(key, "lrat bytes")].append(by["lrat"][2])
            r[(key, "drat bytes")].append(by["drat"][2])
            r[(key, "solve lrat")].append(lrat)
            r[(key, "solve plain")].append(plain)
            r[(key, "solve drat")].append(drat)
            ran = [k for k in ("drat", "lrat") if f"{k}check" in by]  # --check may leave one out
            verified = all(by[f"{k}check"][1] == "s VERIFIED" for k in ran)
            if verified and len(ran) == 2:
                cert_l = lrat + by["lratcheck"][0]
                cert_d = drat + by["dratcheck"][0]
                r[(key, "cert")].append(cert_l / cert_d)
                if cert_d >= 1:
                    r[(key, "cert long")].append(cert_l / cert_d)
                r[(key, "check")].append(by["lratcheck"][0] / by["dratcheck"][0])
                r[(key, "cert lrat s")].append(cert_l)
                r[(key, "cert drat s")].append(cert_d)
            elif not verified or not ran:
                r[(key, "unchecked")].append(inst)
    attempted = collections.Counter(s for _, s in runs)
    lines.append(f"Times: {clock} seconds of each process. Instances solved with every configuration "
                 "(no proof, DRAT, LRAT), per strategy:")
    lines.append("")
    lines.append("| strategy | UNSAT instances tried | solved by all three | checks not VERIFIED |")
    lines.append("|---:|---:|---:|---:|")
    for s in strategies + ["all"]:
        tried = attempted[s] if s != "all" else sum(attempted.values())
        lines.append(f"| {s} | {tried} | {len(ratios[(s, 'n')])} | {len(ratios[(s, 'unchecked')])} |")
    lines.append("")
    lines.append("Per-instance ratios (median, smallest, largest):")
    lines.append("")
    lines.append("| strategy: ratio | instances | median | min | max |")
    lines.append("|---|---:|---:|---:|---:|")
    for s in strategies + ["all"]:
        for what, label in [("lrat/plain", "LRAT solve ÷ no proof"),
                            ("lrat/plain long", "LRAT solve ÷ no proof, no-proof runs ≥ 0.5 s"),
                            ("drat/plain", "DRAT solve ÷ no proof"), ("lrat/drat", "LRAT solve ÷ DRAT solve"),
                            ("bytes", "LRAT bytes ÷ DRAT bytes"),
                            ("check", "lratcheck ÷ dratcheck"),
                            ("cert", "solve + check: LRAT ÷ DRAT"),
                            ("cert long", "solve + check: LRAT ÷ DRAT, DRAT's ≥ 1 s")]:
            lines.append(ratio_line(f"{s}: {label}", ratios[(s, what)]))
    lines.append("")
    lines.append("Totals over the instances solved by all three:")
    lines.append("")
    lines.append("| strategy | no proof s | DRAT s | LRAT s | LRAT ÷ no proof | DRAT MB | LRAT MB "
                 "| DRAT solve+check s | LRAT solve+check s | ratio |")
    lines.append("|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
    for s in strategies + ["all"]:
        t = {w: sum(ratios[(s, w)]) for w in ("solve plain", "solve drat", "solve lrat", "drat bytes",
                                                 "lrat bytes", "cert drat s", "cert lrat s")}
        if not t["solve plain"]:
            continue
        cert = t["cert lrat s"] / t["cert drat s"] if t["cert drat s"] else float("nan")
        lines.append(f"| {s} | {t['solve plain']:.2f} | {t['solve drat']:.2f} | {t['solve lrat']:.2f} | "
                     f"{t['solve lrat'] / t['solve plain']:.3f} | {t['drat bytes'] / 1e6:.1f} | "
                     f"{t['lrat bytes'] / 1e6:.1f} | {t['cert drat s']:.2f} | {t['cert lrat s']:.2f} | "
                     f"{cert:.3f} |")
    text = "\n".join(lines) + "\n"
    with open(os.path.join(out, f"summary-{clock}.md"), "w") as f:
        f.write(text)
    print(text, end="")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("-b", dest="build", default=os.path.join(here, "..", "build-bench"))
    ap.add_argument("-s", dest="strategies", default="0,1,2", type=lambda v: v.split(","))
    ap.add_argument("-t", dest="limit", type=float, default=20.0)
    ap.add_argument("-T", dest="check_limit", type=float, default=300.0)
    ap.add_argument("-o", dest="out", default=time.strftime("/tmp/vetrix-lrat-cost-%Y%m%d-%H%M%S"))
    ap.add_argument("-c", dest="corpus",
                    default=os.environ.get("VETRIX_CORPUS", os.path.join(here, "..", "..", "shared", "bench")))
    ap.add_argument("-i", dest="only", default=None, type=lambda v: v.split(","))
    ap.add_argument("--check", default=["drat", "lrat"], type=lambda v: v.split(","))
    ap.add_argument("--summary", metavar="DIR")
    ap.add_argument("--wall", action="store_true", help="summarize wall times instead of CPU times")
    ap.add_argument("tiers", nargs="*", default=["medium", "hard"])
    args = ap.parse_args()
    clock = "wall" if args.wall else "cpu"
    if args.summary:
        summarize(args.summary, clock)
        return
    measure(args)
    summarize(args.out, clock)


if __name__ == "__main__":
    main()
