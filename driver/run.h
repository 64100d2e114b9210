// Run driver: load the file, read the formula, solve it.
#pragma once

#include "solver/stats.h"
#include "support/formula.h"

// Reads file_name (standard input for "-"; plain or compressed) as DIMACS
// CNF and solves it with strategy n.
// When stats is given it receives the solve's counters.
void OnBase_m1(const char *file_name, int n, SolveStats *stats = nullptr);

// Writes the formula as DIMACS clause lines (no header) to standard output.
void print_dnf(const Formula &formula);
