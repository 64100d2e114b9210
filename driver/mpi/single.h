// A run of one process: the plain solve of one vetrix::Solver, with the
// verdict lines and exit status of a distributed run.
#pragma once

#include "driver/mpi/mpi_options.h"
#include "vetrix/cnf_file.h"

namespace vetrix {

int run_single(const Cnf &cnf, const MpiOptions &options);

} // namespace vetrix
