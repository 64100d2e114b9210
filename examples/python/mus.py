#!/usr/bin/env python3
"""Finds a minimal unsatisfiable subset (MUS) of a CNF formula's clauses
with vetrix's incremental Solver: python3 examples/python/mus.py [FILE.cnf]
(examples/python/unsat.cnf by default) prints the numbers of the clauses of
one MUS, counted from 1 in the file: together they are unsatisfiable, and
without any one of them satisfiable.

Clause k gets a selector variable s (the solver holds "clause k or not s"),
so that assuming s asks for the clause. Deletion: with every selector of the
core assumed but one, an unsatisfiable call shows that clause is not needed
(and its core may drop more); a satisfiable one shows it is.
"""

import os
import sys

import vetrix


def read_dimacs(path):
    """The clauses of a plain DIMACS file."""
    clauses, clause = [], []
    with open(path) as f:
        for line in f:
            if line.startswith(("c", "p")):
                continue
            for word in line.split():
                if word == "0":
                    clauses.append(clause)
                    clause = []
                else:
                    clause.append(int(word))
    return clauses


def mus(clauses):
    """The numbers (from 1) of the clauses of a MUS, or None when the
    clauses are satisfiable."""
    top = max(abs(lit) for clause in clauses for lit in clause)
    selectors = list(range(top + 1, top + 1 + len(clauses)))
    with vetrix.Solver(bootstrap_with=[c + [-s] for c, s in zip(clauses, selectors)]) as solver:
        if solver.solve(assumptions=selectors):
            return None
        needed, candidates = [], solver.get_core()
        while candidates:
            if solver.solve(assumptions=needed + candidates[1:]):
                needed.append(candidates[0])  # without it the rest is satisfiable
                candidates = candidates[1:]
            else:  # every needed clause is in the new core
                candidates = [s for s in solver.get_core() if s not in needed]
        return sorted(s - top for s in needed)


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "unsat.cnf")
    clauses = read_dimacs(path)
    found = mus(clauses)
    if found is None:
        print("the formula is satisfiable: it has no unsatisfiable subset")
        return
    print(f"a minimal unsatisfiable subset of {len(found)} of the {len(clauses)} clauses:")
    print(" ".join(map(str, found)))


if __name__ == "__main__":
    main()
