// Run driver: load the file, read the formula, solve it.
#pragma once

#include "solver/control.h"
#include "solver/stats.h"
#include "support/my_carray.h"

// Loads file_name, reads it as DIMACS CNF and solves it with strategy n.
// When stats is given it receives the solve's counters; control, when given,
// carries the proof output and the stop conditions to the solver.
void OnBase_m1(const char *file_name, int n, SolveStats *stats = nullptr,
               const SolveControl *control = nullptr);

// Writes the formula as DIMACS clause lines (no header) to standard output.
void print_dnf(Dnf &dnf);
