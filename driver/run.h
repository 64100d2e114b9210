// Run driver: load the input, read the formula, solve it. Every failure
// leaves through fatal() (a vetrix::Error) with the command line's message.
#pragma once

#include <cstddef>
#include <string>

#include "solver/control.h"
#include "solver/stats.h"
#include "support/formula.h"

// Fails with "wrong number of arguments" for more than two arguments (the
// file name and the strategy).
void check_argument_count(size_t count);

// Fails with "wrong strategy N" unless n is 0, 1 or 2.
void check_strategy(int n);

// Reads text (the input's bytes followed by one NUL) as DIMACS CNF into
// formula and nb_var; a text that ends before the announced clauses is
// "something went wrong".
void read_formula(const std::string &text, Formula &formula, int &nb_var);

// Reads file_name (standard input for "-"; plain or compressed) as DIMACS
// CNF into formula and nb_var.
void load_formula(const char *file_name, Formula &formula, int &nb_var);

// Loads file_name, reads it and solves it with strategy n, printing the
// verdict. When stats is given it receives the solve's counters; control,
// when given, carries the proof output and the stop conditions to the solver.
void OnBase_m1(const char *file_name, int n, SolveStats *stats = nullptr,
               const SolveControl *control = nullptr);

// Writes the formula as DIMACS clause lines (no header) to standard output.
void print_dnf(const Formula &formula);
