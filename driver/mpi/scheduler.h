// Rank 0 of a distributed run: the cube tree and its queue, the workers'
// outcomes, the shared clauses' pool, the combined proof and the verdict.
#pragma once

#include "driver/mpi/mpi_options.h"
#include "driver/mpi/proof_merge.h"
#include "vetrix/cnf_file.h"

namespace vetrix {

// Solves cnf with ranks 1 .. ranks-1 as workers, prints the verdict and
// returns the exit status; every worker has ended when it returns.
int run_scheduler(const Cnf &cnf, const MpiOptions &options, CombinedProof &proof, int ranks);

} // namespace vetrix
