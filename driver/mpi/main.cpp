// vetrix-mpi [options] FILE: decides a DIMACS CNF formula by cube-and-conquer
// over MPI. Rank 0 reads the formula, hands it to every rank, splits it into
// cubes and gathers the outcomes; every other rank is a worker with one
// incremental solver. Started with one process (or without mpirun) it is a
// plain single solve. Exit status 10 SAT, 20 UNSAT, 0 unknown, 1 on failure.
#include <mpi.h>

#include <cstdio>
#include <string>

#include "driver/mpi/broadcast.h"
#include "driver/mpi/mpi_options.h"
#include "driver/mpi/proof_merge.h"
#include "driver/mpi/scheduler.h"
#include "driver/mpi/single.h"
#include "driver/mpi/worker.h"
#include "vetrix/cnf_file.h"
#include "vetrix/vetrix.h"

namespace vetrix {

namespace {

// Rank 0 reads the formula and opens the proof: 0, or 1 after the message
// (the reader's on standard output, as the command line gives it).
int read_input(const MpiOptions &options, Cnf &cnf, CombinedProof &proof, bool distributed) {
    try {
        cnf = read_cnf_file(options.file);
    } catch (const Error &e) {
        const std::string &message = e.message();
        std::fwrite(message.data(), 1, message.size(), stdout);
        std::fflush(stdout);
        return 1;
    }
    std::string error;
    if (distributed && !options.proof.empty() && !proof.open(options.proof, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}

int run(int rank, int ranks, const MpiOptions &options) {
    Cnf cnf;
    CombinedProof proof;
    const int status = broadcast_formula(cnf, rank == 0 ? read_input(options, cnf, proof, ranks > 1) : 0);
    if (status != 0)
        return status;
    if (ranks == 1)
        return run_single(cnf, options);
    if (rank != 0)
        return run_worker(cnf, options);
    const int verdict_status = run_scheduler(cnf, options, proof, ranks);
    std::string error;
    if (!proof.close(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return verdict_status;
}

} // namespace

} // namespace vetrix

int main(int argc, char **argv) {
    MPI_Init(&argc, &argv);
    int rank = 0, ranks = 1;
    MPI_Comm_rank(MPI_COMM_WORLD, &rank);
    MPI_Comm_size(MPI_COMM_WORLD, &ranks);
    vetrix::MpiOptions options;
    std::string error;
    int status = 1;
    if (!vetrix::parse_mpi_options(argc, argv, options, error)) {
        if (rank == 0)
            std::fprintf(stderr, "%s\n", error.c_str());
    } else if (options.help || options.version) {
        if (rank == 0 && options.help)
            std::fputs(vetrix::mpi_help_text().c_str(), stdout);
        else if (rank == 0)
            std::printf("vetrix-mpi %s\n", vetrix::version());
        status = 0;
    } else {
        status = vetrix::run(rank, ranks, options);
    }
    MPI_Finalize();
    return status;
}
