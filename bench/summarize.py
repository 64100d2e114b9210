#!/usr/bin/env python3
"""Tables from a bench/run.sh result directory.

usage: bench/summarize.py [--solvers v0,v1,...] DIR

Reads DIR/manifest.tsv (the instances of the run), DIR/run-info.txt and
DIR/raw/<solver>.<family>.tsv (run_peers.sh lines: path, verdict, wall_s,
model, expected) and prints Markdown:

- per family and solver: instances solved, total and median wall seconds
  over the solved ones;
- per family: vetrix/peer time ratios, each the total time of vetrix with one
  strategy over the total time of the peer, both summed over the instances
  that both solved (so a ratio above 1 means vetrix was slower);
- every wrong verdict, bad model, error and UNKNOWN answer.

Exit status 1 when a verdict contradicted the manifest or a model failed.
"""
import argparse
import csv
import math
import os
import statistics
import sys

VETRIX = ["v0", "v1", "v2"]
PEERS = ["minisat", "picosat", "cadical"]
LABEL = {"v0": "vetrix 0", "v1": "vetrix 1", "v2": "vetrix 2"}


def read_tsv(path):
    with open(path, newline="") as f:
        return list(csv.DictReader(f, delimiter="\t"))


def fmt_t(x):
    if x is None:
        return "–"
    return f"{x:.2f}" if x >= 1 else f"{x:.3f}"


def fmt_r(x):
    if x is None:
        return "–"
    return f"{x:.2f}" if x < 100 else f"{x:.0f}"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--solvers", default=None)
    ap.add_argument("dir")
    a = ap.parse_args()
    d = a.dir
    manifest = read_tsv(os.path.join(d, "manifest.tsv"))
    families = []
    fam_of = {}
    for row in manifest:
        fam_of[row["path"]] = row["family"]
        if row["family"] not in families:
            families.append(row["family"])
    raw = os.path.join(d, "raw")
    files = os.listdir(raw)
    if a.solvers:
        solvers = a.solvers.split(",")
    else:
        present = {f.split(".", 1)[0] for f in files if f.endswith(".tsv")}
        solvers = [s for s in VETRIX + PEERS if s in present]
    # res[solver][path] = row
    res = {s: {} for s in solvers}
    for s in solvers:
        for fam in families:
            p = os.path.join(raw, f"{s}.{fam}.tsv")
            if os.path.exists(p):
                for row in read_tsv(p):
                    res[s][row["path"]] = row

    def solved(row):
        return row is not None and row["verdict"] in ("SAT", "UNSAT")

    out = []
    info = os.path.join(d, "run-info.txt")
    if os.path.exists(info):
        out.append("```")
        out.extend(open(info).read().rstrip("\n").split("\n"))
        out.append("```")
        out.append("")

    groups = [(fam, [r["path"] for r in manifest if r["family"] == fam]) for fam in families]
    groups.append(("**all**", [r["path"] for r in manifest]))

    # ---- solved / total / median ----
    out.append("Solved instances, total and median wall seconds over the solved ones "
               "(cell: solved · total s · median s).")
    out.append("")
    out.append("| family | n | " + " | ".join(LABEL.get(s, s) for s in solvers) + " |")
    out.append("|---|---:|" + "---:|" * len(solvers))
    for fam, paths in groups:
        cells = []
        for s in solvers:
            ran = [res[s].get(p) for p in paths]
            if all(r is None for r in ran):
                cells.append("not run")
                continue
            times = [float(r["wall_s"]) for r in ran if solved(r)]
            med = statistics.median(times) if times else None
            cells.append(f"{len(times)} · {fmt_t(sum(times)) if times else '–'} · {fmt_t(med)}")
        out.append(f"| {fam} | {len(paths)} | " + " | ".join(cells) + " |")
    out.append("")

    # ---- ratios ----
    vs = [s for s in solvers if s in VETRIX]
    ps = [s for s in solvers if s in PEERS]
    if vs and ps:
        out.append("vetrix/peer time ratios: vetrix's total time over the peer's, both summed "
                   "over the instances that both solved (in brackets: how many); above 1 means "
                   "vetrix was slower. Last row: the same over all instances, and below it the "
                   "geometric mean of the per-instance ratios.")
        out.append("")
        pairs = [(v, p) for v in vs for p in ps]
        out.append("| family | " + " | ".join(f"{LABEL[v]} / {p}" for v, p in pairs) + " |")
        out.append("|---|" + "---:|" * len(pairs))

        def ratio_cell(paths, v, p):
            both = [x for x in paths if solved(res[v].get(x)) and solved(res[p].get(x))]
            if not both:
                return "–"
            tv = sum(float(res[v][x]["wall_s"]) for x in both)
            tp = sum(float(res[p][x]["wall_s"]) for x in both)
            return f"{fmt_r(tv / tp) if tp > 0 else '–'} ({len(both)})"

        for fam, paths in groups:
            out.append(f"| {fam} | " + " | ".join(ratio_cell(paths, v, p) for v, p in pairs) + " |")
        geo = []
        allp = [r["path"] for r in manifest]
        for v, p in pairs:
            both = [x for x in allp if solved(res[v].get(x)) and solved(res[p].get(x))]
            # a floor of 1 ms keeps timer resolution out of the logarithms
            logs = [math.log(max(float(res[v][x]["wall_s"]), 1e-3) / max(float(res[p][x]["wall_s"]), 1e-3))
                    for x in both]
            geo.append(f"{fmt_r(math.exp(sum(logs) / len(logs)))}" if logs else "–")
        out.append("| geometric mean per instance | " + " | ".join(geo) + " |")
        out.append("")

    # ---- problems ----
    problems = []
    bad = 0
    for s in solvers:
        for r in manifest:
            row = res[s].get(r["path"])
            if row is None:
                continue
            v, e = row["verdict"], row["expected"]
            if (v == "SAT" and e == "UNSAT") or (v == "UNSAT" and e == "SAT"):
                problems.append(f"- WRONG verdict: {LABEL.get(s, s)} {r['path']}: {v}, expected {e}")
                bad += 1
            if row["model"] == "FAIL":
                problems.append(f"- BAD model: {LABEL.get(s, s)} {r['path']}")
                bad += 1
            if v.startswith("ERROR") or v == "UNKNOWN":
                problems.append(f"- {v}: {LABEL.get(s, s)} {r['path']} ({row['wall_s']} s)")
    out.append("Answers checked: verdicts against the manifest, SAT models with check_model.py.")
    out.append("")
    counts = []
    for s in solvers:
        rows = [res[s][p] for p in res[s]]
        to = sum(1 for r in rows if r["verdict"] == "TIMEOUT")
        counts.append(f"{LABEL.get(s, s)}: {sum(1 for r in rows if solved(r))}/{len(rows)} solved, {to} timeouts")
    out.append("; ".join(counts) + ".")
    out.append("")
    if problems:
        out.extend(problems)
    else:
        out.append("No wrong verdict, bad model, error or UNKNOWN answer.")
    print("\n".join(out))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
