// Run driver: load the file, read the formula, solve it. Every failure
// leaves through fatal() (a vetrix::Error) with the command line's message.
#pragma once

#include <string>

#include "solver/stats.h"
#include "support/my_carray.h"

// Fails with "wrong strategy N" unless n is 0, 1 or 2.
void check_strategy(int n);

// Reads text (the input's bytes followed by one NUL) as DIMACS CNF into dnf
// and nb_var; a text that ends before the announced clauses is "something
// went wrong".
void read_formula(std::string &text, Dnf &dnf, int &nb_var);

// Loads file_name and reads it as DIMACS CNF into dnf and nb_var.
void load_formula(const char *file_name, Dnf &dnf, int &nb_var);

// Loads file_name, reads it as DIMACS CNF and solves it with strategy n,
// printing the verdict. When stats is given it receives the solve's counters.
void OnBase_m1(const char *file_name, int n, SolveStats *stats = nullptr);

// Writes the formula as DIMACS clause lines (no header) to standard output.
void print_dnf(Dnf &dnf);
