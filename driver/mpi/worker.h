// A worker rank: one incremental solver for the whole run, given cube after
// cube by rank 0 and solving each under a conflict budget.
#pragma once

#include "driver/mpi/mpi_options.h"
#include "vetrix/cnf_file.h"

namespace vetrix {

// What a worker tells of a cube.
enum Outcome : int {
    OUTCOME_MODEL = 1,       // a model: the cube's formula is satisfiable
    OUTCOME_REFUTED = 2,     // refuted, with the failed assumptions (the core)
    OUTCOME_SPLIT = 3,       // past the budget: split it on the variable given
    OUTCOME_CANCELLED = 4,   // rank 0 pruned it meanwhile
    OUTCOME_INTERRUPTED = 5, // the worker caught SIGINT or SIGTERM
    OUTCOME_FAILED = 6,      // the solver failed, with its message
};

// Runs until rank 0 says stop; returns the worker's exit status.
int run_worker(const Cnf &cnf, const MpiOptions &options);

} // namespace vetrix
