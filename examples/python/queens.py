#!/usr/bin/env python3
"""Places n queens on an n x n board, none attacking another, with vetrix:
python3 examples/python/queens.py [n] (8 by default) prints the board.

Variable r * n + c + 1 is true when a queen stands on row r, column c.
"""

import itertools
import sys

import vetrix


def queens(n):
    square = lambda r, c: r * n + c + 1
    clauses = [[square(r, c) for c in range(n)] for r in range(n)]  # a queen on every row
    lines = [[(r, c) for c in range(n)] for r in range(n)]  # rows
    lines += [[(r, c) for r in range(n)] for c in range(n)]  # columns
    for d in range(-n + 1, n):
        lines.append([(r, r - d) for r in range(n) if 0 <= r - d < n])  # diagonals
        lines.append([(r, d + n - 1 - r) for r in range(n) if 0 <= d + n - 1 - r < n])  # anti-diagonals
    for line in lines:  # at most one queen on each line
        clauses += [[-square(*a), -square(*b)] for a, b in itertools.combinations(line, 2)]
    return clauses


def main():
    n = int(sys.argv[1]) if len(sys.argv) > 1 else 8
    result = vetrix.solve(queens(n), num_vars=n * n)
    if result.verdict is not vetrix.Verdict.SATISFIABLE:
        print(f"no way to place {n} queens: {result.verdict.name}")
        return
    for r in range(n):
        print(" ".join("Q" if result.model[r * n + c] > 0 else "." for c in range(n)))
    print(f"{result.stats['decisions']} decisions, {result.stats['conflicts']} conflicts")


if __name__ == "__main__":
    main()
