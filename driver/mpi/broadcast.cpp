#include "driver/mpi/broadcast.h"

#include <mpi.h>

#include <algorithm>
#include <cstdint>

namespace vetrix {

namespace {

// MPI counts are ints: a long array goes in pieces.
void broadcast_ints(std::vector<int> &ints) {
    constexpr std::size_t PIECE = std::size_t{1} << 28;
    for (std::size_t at = 0; at < ints.size(); at += PIECE) {
        const int n = static_cast<int>(std::min(PIECE, ints.size() - at));
        MPI_Bcast(ints.data() + at, n, MPI_INT, 0, MPI_COMM_WORLD);
    }
}

} // namespace

int broadcast_formula(Cnf &cnf, int status) {
    int rank = 0;
    MPI_Comm_rank(MPI_COMM_WORLD, &rank);
    std::int64_t head[4] = {status, 0, 0, 0}; // status, variables, clauses, literals
    std::vector<int> sizes, lits;
    if (rank == 0 && status == 0) {
        head[1] = cnf.num_vars;
        head[2] = static_cast<std::int64_t>(cnf.clauses.size());
        for (const std::vector<int> &c : cnf.clauses) {
            sizes.push_back(static_cast<int>(c.size()));
            lits.insert(lits.end(), c.begin(), c.end());
        }
        head[3] = static_cast<std::int64_t>(lits.size());
    }
    MPI_Bcast(head, 4, MPI_INT64_T, 0, MPI_COMM_WORLD);
    if (head[0] != 0)
        return static_cast<int>(head[0]);
    sizes.resize(static_cast<std::size_t>(head[2]));
    lits.resize(static_cast<std::size_t>(head[3]));
    broadcast_ints(sizes);
    broadcast_ints(lits);
    if (rank != 0) {
        cnf.num_vars = static_cast<int>(head[1]);
        cnf.clauses.resize(sizes.size());
        std::size_t at = 0;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            cnf.clauses[i].assign(lits.begin() + static_cast<std::ptrdiff_t>(at),
                                  lits.begin() + static_cast<std::ptrdiff_t>(at + static_cast<std::size_t>(sizes[i])));
            at += static_cast<std::size_t>(sizes[i]);
        }
    }
    return 0;
}

} // namespace vetrix
