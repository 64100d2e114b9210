// The verdict lines of vetrix-mpi, those of the command line, and its exit
// status by the competitions' convention.
#pragma once

#include <cstddef>
#include <vector>

#include "vetrix/cnf_file.h"
#include "vetrix/verdict.h"

namespace vetrix {

// True when model (+v or -v for v = 1..num_vars) satisfies every clause;
// otherwise false with the first falsified clause's index in clause.
bool model_satisfies(const Cnf &cnf, const std::vector<int> &model, std::size_t &clause);

// "s SATISFIABLE" and the v lines (the true variables, fifteen a line),
// "s UNSATISFIABLE" or "s UNKNOWN" on standard output.
void print_verdict(Verdict verdict, const std::vector<int> &model);

// 10 satisfiable, 20 unsatisfiable, 0 unknown.
int exit_status(Verdict verdict);

} // namespace vetrix
