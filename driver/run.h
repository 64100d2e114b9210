// Run driver: load the file, read the formula, solve it.
#pragma once

#include "solver/stats.h"
#include "support/my_carray.h"

// Loads file_name, reads it as DIMACS CNF and solves it with strategy n.
// When stats is given it receives the solve's counters.
void OnBase_m1(const char *file_name, int n, SolveStats *stats = nullptr);

// Writes the formula as DIMACS clause lines (no header) to standard output.
void print_dnf(Dnf &dnf);
