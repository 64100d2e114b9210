// --portfolio on the command line: the race of the strategies and its report.
#pragma once

#include <string>
#include <vector>

#include "driver/race_proofs.h"
#include "solver/control.h"
#include "solver/stats.h"

namespace vetrix {

struct PortfolioRun {
    std::vector<int> strategies; // raced, in the order listed
    RaceProofs *proofs = nullptr; // one per strategy (opened), or none
    bool stats = false;          // --stats: wait for every strategy to count its conflicts
};

// Reads file_name once and races the strategies on it. Standard output gets
// exactly what `vetrix file_name n` prints for the winning strategy n;
// standard error the line "c portfolio winner: strategy n" ("none" when no
// strategy decided) and, with stats, each strategy's conflicts. The proof
// file gets the reported strategy's proof. Returns the counters of the
// strategy reported; a proof that could not be completed leaves a message
// in proof_error.
SolveStats run_portfolio(const char *file_name, const PortfolioRun &run, const SolveControl &control,
                         std::string &proof_error);

} // namespace vetrix
