#include "driver/portfolio_report.h"

#include <cinttypes>
#include <cstdio>

namespace vetrix {

void report_portfolio(const std::vector<int> &strategies, const FileAnswer &answer, bool stats,
                      RaceProofs &proofs, std::string &proof_error) {
    if (answer.decided)
        std::fprintf(stderr, "c portfolio winner: strategy %d\n", strategies[answer.reported]);
    else
        std::fprintf(stderr, "c portfolio winner: none\n");
    for (std::size_t k = 0; stats && k < answer.conflicts.size(); ++k)
        std::fprintf(stderr, "c portfolio strategy %d conflicts: %" PRIu64 " cpu_seconds: %.3f\n", strategies[k],
                     answer.conflicts[k], answer.cpu_seconds[k]);
    std::fflush(stderr);
    if (proofs.is_open())
        proofs.keep(answer.reported, proof_error);
}

} // namespace vetrix
