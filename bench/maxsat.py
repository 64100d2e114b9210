#!/usr/bin/env python3
"""A core-guided MaxSAT solver (OLL, the shape of RC2: cores over assumed
soft literals, totalizers over each core, weights split by the core's
least weight) run on three oracles over the same generated weighted
formulas: vetrix.Solver (incremental), pycryptosat (CryptoMiniSat, Debian's
python3-cryptominisat) and from scratch (a fresh vetrix.Solver given every
clause for each call, as vetrix.Solver behaved before it was incremental).

usage: bench/maxsat.py [-b BUILD] [-r ROUNDS] [-o DIR] [--no-scratch]

BUILD is the build directory whose python/ holds the module (default
build-bench, see bench/build.sh). Every instance runs once per oracle per
round, the oracles in turn; each run's CPU seconds (time.process_time, every
thread of the process: vetrix's search thread included), wall seconds,
oracle calls and optimum go to DIR/raw.tsv (one line per run), and the
per-instance medians with their ratios to DIR/summary.md and standard
output. Every run's optimum must agree across oracles and with the cost of
its model, checked here. pycryptosat is installed for Debian's
/usr/bin/python3: run the script with it (the module built for the same
Python 3 minor version loads there).
"""
import argparse
import os
import random
import statistics
import sys
import time

# ----------------------------------------------------------------- formulas


def vertex_cover(seed, nodes, edges, parts=1):
    """Weighted minimum vertex cover of a random graph of parts components
    of nodes nodes and edges edges each: hard (u or v) per edge, soft (not
    v) weighing 1..9."""
    rng = random.Random(seed)
    hard, soft = [], []
    for base in range(0, parts * nodes, nodes):
        hard += [[base + v for v in sorted(rng.sample(range(1, nodes + 1), 2))] for _ in range(edges)]
        soft += [([-(base + v)], rng.randint(1, 9)) for v in range(1, nodes + 1)]
    return hard, soft


def set_cover(seed, sets, elements, per_element):
    """Weighted minimum set cover: each element lies in per_element random
    sets (a hard clause over them), each set costs 1..20 (soft: not taken)."""
    rng = random.Random(seed)
    hard = [rng.sample(range(1, sets + 1), per_element) for _ in range(elements)]
    return hard, [([-s], rng.randint(1, 20)) for s in range(1, sets + 1)]


def planted_3sat(rng, first, num_vars, num_clauses):
    """Random 3-clauses over variables first+1..first+num_vars that a
    planted assignment satisfies."""
    planted = [rng.choice((1, -1)) for _ in range(num_vars + 1)]
    clauses = []
    while len(clauses) < num_clauses:
        clause = [v * rng.choice((1, -1)) for v in rng.sample(range(1, num_vars + 1), 3)]
        if any(planted[abs(lit)] * lit > 0 for lit in clause):
            clauses.append([lit + first if lit > 0 else lit - first for lit in clause])
    return clauses


def planted_max2sat(seed, num_vars, hard_clauses, soft_clauses):
    """Planted satisfiable random 3-SAT as the hard part and random soft
    2-clauses weighing 1..5."""
    rng = random.Random(seed)
    soft = [([v * rng.choice((1, -1)) for v in rng.sample(range(1, num_vars + 1), 2)], rng.randint(1, 5))
            for _ in range(soft_clauses)]
    return planted_3sat(rng, 0, num_vars, hard_clauses), soft


def with_bulk(formula, num_vars, seed):
    """The formula beside 2.5 * num_vars planted random 3-clauses over
    num_vars fresh variables: a large, easily satisfied hard part that no
    core touches, as in the formulas of applications, where each call is
    cheap next to reading the whole formula again."""
    hard, soft = formula
    top = max(abs(lit) for clause in hard + [c for c, _ in soft] for lit in clause)
    return hard + planted_3sat(random.Random(seed), top, num_vars, int(2.5 * num_vars)), soft


INSTANCES = {
    "vc-70-210": lambda: vertex_cover(1, 70, 210),
    "vc-100x8-14+bulk": lambda: with_bulk(vertex_cover(2, 8, 14, parts=100), 5000, 2),
    "sc-40-120-4+bulk": lambda: with_bulk(set_cover(3, 40, 120, 4), 5000, 3),
    "m2s-45-135-150+bulk": lambda: with_bulk(planted_max2sat(4, 45, 135, 150), 5000, 4),
}

# ----------------------------------------------------------------- oracles


class Incremental:
    def __init__(self, vetrix, warm_start=False):
        self.solver = vetrix.Solver(warm_start=warm_start)

    def add_clause(self, clause):
        self.solver.add_clause(clause)

    def solve(self, assumptions):
        return self.solver.solve(assumptions=assumptions)

    def get_core(self):
        return self.solver.get_core()

    def get_model(self):
        return self.solver.get_model()


class FromScratch(Incremental):
    def __init__(self, vetrix):
        self.vetrix, self.clauses = vetrix, []

    def add_clause(self, clause):
        self.clauses.append(clause)

    def solve(self, assumptions):
        self.solver = self.vetrix.Solver(bootstrap_with=self.clauses)
        return self.solver.solve(assumptions=assumptions)


class CryptoMiniSat:
    def __init__(self, pycryptosat):
        self.solver = pycryptosat.Solver()

    def add_clause(self, clause):
        self.solver.add_clause(clause)

    def solve(self, assumptions):
        top = max((abs(lit) for lit in assumptions), default=0)
        if top > self.solver.nb_vars():  # it refuses to assume a variable it has not seen
            self.solver.add_clause([top, -top])
        sat, self.solution = self.solver.solve(assumptions)
        return sat

    def get_core(self):
        return [-lit for lit in self.solver.get_conflict()]  # the conflict is the clause of negated assumptions

    def get_model(self):
        return [v if self.solution[v] else -v for v in range(1, len(self.solution))]


# ----------------------------------------------------------------- OLL


class OLL:
    """Minimum cost of the soft clauses (clause, weight) falsified, over the
    models of the hard clauses. Each soft clause is assumed true (a unit one
    through its literal, a longer one through a selector); a core of
    assumptions costs its least weight w, which every member loses; a core of
    several gets a totalizer over its violated literals and the assumption
    'at most 1 of them violated', weighing w; when such a bound b is itself in
    a core, 'at most b + 1' takes over its lost weight."""

    def __init__(self, oracle, hard, soft):
        self.oracle, self.calls = oracle, 0
        self.top = max(abs(lit) for clause in hard + [c for c, _ in soft] for lit in clause)
        for clause in hard:
            oracle.add_clause(clause)
        self.weight, self.bounds = {}, {}  # assumption -> weight; bound assumption -> (outputs, b)
        for clause, w in soft:
            lit = clause[0] if len(clause) == 1 else self.new_var()
            if len(clause) > 1:
                oracle.add_clause(clause + [-lit])
            self.weight[lit] = self.weight.get(lit, 0) + w

    def new_var(self):
        self.top += 1
        return self.top

    def totalizer(self, lits):
        """Outputs o with o[j] true when at least j + 1 of lits are (the
        upward half of the totalizer: all an 'at most' bound needs)."""
        if len(lits) == 1:
            return lits
        left, right = self.totalizer(lits[: len(lits) // 2]), self.totalizer(lits[len(lits) // 2:])
        outs = [self.new_var() for _ in range(len(left) + len(right))]
        for i in range(len(left) + 1):
            for j in range(len(right) + 1):
                if i + j:
                    self.oracle.add_clause([outs[i + j - 1]] + ([-left[i - 1]] if i else []) +
                                           ([-right[j - 1]] if j else []))
        return outs

    def run(self):
        cost = 0
        while True:
            assumptions = sorted(lit for lit, w in self.weight.items() if w > 0)
            self.calls += 1
            if self.oracle.solve(assumptions):
                return cost, self.oracle.get_model()
            core = self.oracle.get_core()
            if not core:
                return None, None  # the hard clauses alone are unsatisfiable
            least = min(self.weight[lit] for lit in core)
            cost += least
            for lit in core:
                self.weight[lit] -= least
                if lit in self.bounds:
                    outs, b = self.bounds[lit]
                    if b + 1 < len(outs):
                        self.weight[-outs[b + 1]] = self.weight.get(-outs[b + 1], 0) + least
                        self.bounds[-outs[b + 1]] = (outs, b + 1)
            if len(core) == 1:
                self.oracle.add_clause([-core[0]])
            else:
                outs = self.totalizer([-lit for lit in core])
                self.weight[-outs[1]] = least
                self.bounds[-outs[1]] = (outs, 1)


def model_cost(model, soft):
    true = set(model)
    return sum(w for clause, w in soft if not any(lit in true for lit in clause))


# ----------------------------------------------------------------- the run


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("-b", "--build", default="build-bench")
    parser.add_argument("-r", "--rounds", type=int, default=3)
    parser.add_argument("-o", "--out", default=None)
    parser.add_argument("--no-scratch", action="store_true", help="leave out the from-scratch oracle")
    args = parser.parse_args()
    sys.path.insert(0, os.path.join(args.build, "python"))
    import vetrix
    try:
        import pycryptosat
    except ImportError:
        sys.exit("pycryptosat is not importable: install python3-cryptominisat and run with /usr/bin/python3")
    oracles = {"vetrix": lambda: Incremental(vetrix), "vetrix-warm": lambda: Incremental(vetrix, True),
               "cryptominisat": lambda: CryptoMiniSat(pycryptosat)}
    if not args.no_scratch:
        oracles["scratch"] = lambda: FromScratch(vetrix)
    rows = []
    for rnd in range(args.rounds):
        for name, make in INSTANCES.items():
            hard, soft = make()
            for oracle in oracles:
                cpu, wall = time.process_time(), time.perf_counter()
                oll = OLL(oracles[oracle](), hard, soft)
                cost, model = oll.run()
                cpu, wall = time.process_time() - cpu, time.perf_counter() - wall
                if model_cost(model, soft) != cost:
                    sys.exit(f"{name} {oracle}: the model costs {model_cost(model, soft)}, not {cost}")
                rows.append((rnd, name, oracle, cpu, wall, oll.calls, cost))
                print(f"round {rnd} {name} {oracle}: cost {cost}, {oll.calls} calls, {cpu:.3f} s CPU", flush=True)
    report(rows, list(oracles), args.out)


def report(rows, oracles, out):
    lines = ["| instance | cost | calls | " + " | ".join(f"{o} CPU s" for o in oracles) +
             " | vetrix / cryptominisat" + (" | scratch / vetrix |" if "scratch" in oracles else " |"),
             "|---" * (4 + len(oracles) + ("scratch" in oracles)) + "|"]
    totals = dict.fromkeys(oracles, 0.0)
    for name in INSTANCES:
        runs = [r for r in rows if r[1] == name]
        costs = {r[6] for r in runs}
        if len(costs) != 1:
            sys.exit(f"{name}: the oracles disagree on the optimum: {sorted(costs)}")
        med = {o: statistics.median(r[3] for r in runs if r[2] == o) for o in oracles}
        for o in oracles:
            totals[o] += med[o]
        calls = "/".join(str(statistics.median(r[5] for r in runs if r[2] == o)) for o in oracles)
        cells = [name, str(costs.pop()), calls] + [f"{med[o]:.3f}" for o in oracles]
        cells.append(f"{med['vetrix'] / med['cryptominisat']:.2f}")
        if "scratch" in oracles:
            cells.append(f"{med['scratch'] / med['vetrix']:.1f}")
        lines.append("| " + " | ".join(cells) + " |")
    cells = ["total", "", ""] + [f"{totals[o]:.3f}" for o in oracles]
    cells.append(f"{totals['vetrix'] / totals['cryptominisat']:.2f}")
    if "scratch" in oracles:
        cells.append(f"{totals['scratch'] / totals['vetrix']:.1f}")
    lines.append("| " + " | ".join(cells) + " |")
    text = "\n".join(lines) + "\n"
    print(text)
    if out:
        os.makedirs(out, exist_ok=True)
        with open(os.path.join(out, "raw.tsv"), "w") as f:
            f.write("round\tinstance\toracle\tcpu_s\twall_s\tcalls\tcost\n")
            for r in rows:
                f.write("\t".join(str(x) for x in r[:3]) + f"\t{r[3]:.4f}\t{r[4]:.4f}\t{r[5]}\t{r[6]}\n")
        with open(os.path.join(out, "summary.md"), "w") as f:
            f.write(text)


if __name__ == "__main__":
    main()
