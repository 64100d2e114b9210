// The run of one solve, below the library's calls and the command line
// alike: the strategy check, the input read into a formula, and the solve
// that prints its verdict. Every failure leaves through fatal() (a
// vetrix::Error) with the command line's message.
#pragma once

#include <string>

#include "solver/control.h"
#include "solver/engine.h"
#include "solver/stats.h"
#include "support/formula.h"
#include "vetrix/vetrix.h"

namespace vetrix {

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

} // namespace vetrix
