#include "driver/portfolio_report.h"

#include <cinttypes>
#include <cstdio>
#include <string>

#include "vetrix/strategy.h"

namespace vetrix {

namespace {

std::string strategy_name(int strategy) {
    return strategy == FAST_STRATEGY ? "fast" : std::to_string(strategy);
}

} // namespace

void report_portfolio(const std::vector<int> &strategies, const FileAnswer &answer, bool stats,
                      RaceProofFiles &proofs, std::string &proof_error) {
    if (answer.decided)
        std::fprintf(stderr, "c portfolio winner: strategy %s\n", strategy_name(strategies[answer.reported]).c_str());
    else
        std::fprintf(stderr, "c portfolio winner: none\n");
    for (std::size_t k = 0; stats && k < answer.conflicts.size(); ++k)
        std::fprintf(stderr, "c portfolio strategy %s conflicts: %" PRIu64 " cpu_seconds: %.3f\n",
                     strategy_name(strategies[k]).c_str(), answer.conflicts[k], answer.cpu_seconds[k]);
    std::fflush(stderr);
    if (proofs.is_open())
        proofs.keep(answer.reported, proof_error);
}

} // namespace vetrix
