#!/usr/bin/env python3
"""The call-sequence fuzzer's Python driver: random sequences of clauses
added, calls under assumptions (repeated and contradictory ones included),
propagate and enum_models on vetrix.Solver, every strategy, warm and cold.
Each call is checked against pycryptosat (verdicts, models, cores refuted
by the peer), each propagate by the peer and naive unit propagation, and each
enum_models against brute force.

    tools/call_fuzz.py [--seeds FIRST-LAST] [--seconds S]

Needs the built module on PYTHONPATH (build/python) and pycryptosat. A
failing sequence is printed as an incremental CNF file; exit status 1.
"""

import argparse
import itertools
import os
import random
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "python"))

import vetrix  # noqa: E402
from support import peer_module, satisfies  # noqa: E402
from test_incremental import propagate_fault, random_clause  # noqa: E402

PEER = peer_module()


def run(seed, tally, lines):
    """One sequence; lines receives it as an incremental CNF file. Returns
    what failed, or None."""
    rng = random.Random(seed)
    num_vars = rng.randint(3, 12)
    clauses = [random_clause(rng, num_vars) for _ in range(rng.randint(1, 4) * num_vars)]
    strategy, warm = rng.choice((0, 1, 2, "fast")), rng.random() < 0.5
    lines += [f"c strategy {strategy}, warm start {'on' if warm else 'off'}", "p inccnf"]
    lines += [" ".join(map(str, c + [0])) for c in clauses]
    solver = vetrix.Solver(bootstrap_with=clauses, strategy=strategy, warm_start=warm)
    peer, peer_vars = PEER.Solver(), 0
    for clause in clauses:
        peer.add_clause(clause)

    def peer_knows(width):  # the peer takes assumptions on the variables of its clauses only
        nonlocal peer_vars
        for v in range(peer_vars + 1, width + 1):
            peer.add_clause([v, -v])
        peer_vars = max(peer_vars, width)
    for step in range(rng.randint(2, 25)):
        assumptions = [rng.choice((1, -1)) * rng.randint(1, num_vars + 2) for _ in range(rng.randint(0, 12 if rng.random() < 0.3 else 4))]
        if assumptions and rng.random() < 0.2:
            assumptions.append(rng.choice((1, -1)) * assumptions[0])  # a repeat or its complement
        peer_knows(num_vars + 2)
        kind = rng.choice(("add", "add", "solve", "solve", "solve", "propagate", "enum"))
        where = f"seed {seed}, step {step}, {kind}"
        if kind == "add":
            if rng.random() < 0.2:
                num_vars += 1
            clause = random_clause(rng, num_vars)
            clauses.append(clause)
            solver.add_clause(clause)
            peer.add_clause(clause)
            lines.append(" ".join(map(str, clause + [0])))
        elif kind == "propagate":
            tally["propagations"] += 1
            status, lits = solver.propagate(assumptions)
            fault = propagate_fault(peer, clauses, assumptions, status, lits, strategy != "fast")
            if fault:
                return f"{where}: propagate {assumptions} gives {status, lits}: {fault}"
        elif kind == "enum":
            if num_vars > 10:
                continue
            tally["enumerations"] += 1
            with vetrix.Solver(bootstrap_with=clauses, strategy=strategy, warm_start=warm) as copy:
                got = sorted(tuple(m) for m in copy.enum_models(assumptions))
            width = max(abs(lit) for lit in itertools.chain(assumptions, *clauses))  # the copy's variables
            every = sorted(m for m in itertools.product(*[(-v, v) for v in range(1, width + 1)])
                           if satisfies(m, clauses) and set(assumptions) <= set(m))
            if got != every:
                return f"{where}: enum_models {assumptions} gives {len(got)} models, brute force {len(every)}"
        else:
            tally["calls"] += 1
            lines.append(" ".join(["a"] + [str(a) for a in assumptions] + ["0"]))
            verdict = solver.solve(assumptions)
            if verdict != peer.solve(assumptions)[0]:
                return f"{where}: {assumptions} answers {verdict}, pycryptosat the opposite"
            if verdict:
                tally["models"] += 1
                if not satisfies(solver.get_model(), clauses + [[a] for a in assumptions]):
                    return f"{where}: the model falsifies a clause or an assumption"
            else:
                tally["cores"] += 1
                core = solver.get_core()
                if not set(core) <= set(assumptions) or peer.solve(core)[0]:
                    return f"{where}: the core {core} is not refuted"
    solver.delete()
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seeds", default="1-100")
    parser.add_argument("--seconds", type=float, default=0)
    args = parser.parse_args()
    if PEER is None:
        print("call_fuzz.py: skipped: pycryptosat (python3-cryptominisat) is not importable")
        return 0
    first, last = map(int, args.seeds.split("-"))
    tally = dict(calls=0, models=0, cores=0, propagations=0, enumerations=0)
    start, seed = time.monotonic(), first
    for seed in range(first, last + 1):
        if args.seconds and time.monotonic() - start > args.seconds:
            break
        lines = []
        fault = run(seed, tally, lines)
        if fault:
            print(fault + "\n" + "\n".join(lines), file=sys.stderr)
            return 1
    seconds = time.monotonic() - start
    print(f"call_fuzz.py: seeds {first}-{seed}: {tally['calls']} calls, {tally['models']} models, {tally['cores']} cores, "
          f"{tally['propagations']} propagations, {tally['enumerations']} enumerations checked; {seconds:.1f} s, {tally['calls'] / max(seconds, 1e-9):.0f} calls/s",
          file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
