#include "driver/portfolio_report.h"

#include <cinttypes>
#include <cstdio>
#include <string>

#include "api/portfolio.h"
#include "support/answer_lines.h"

namespace vetrix {

namespace {

std::string strategy_name(int strategy) {
    return strategy == FAST_STRATEGY ? "fast" : std::to_string(strategy);
}

} // namespace

SolveStats run_portfolio(const char *file_name, const PortfolioRun &run, const SolveControl &control,
                         std::string &proof_error) {
    std::vector<RaceEntrant> entrants;
    for (std::size_t k = 0; k < run.strategies.size(); ++k)
        entrants.push_back(RaceEntrant{run.strategies[k], run.proofs ? run.proofs->writer(k) : nullptr});
    const RaceResult race = race_file(file_name, entrants, control, run.stats);
    write_answer(answer_lines(race.outcome.verdict, race.outcome.model));
    if (race.decided)
        std::fprintf(stderr, "c portfolio winner: strategy %s\n", strategy_name(run.strategies[race.winner]).c_str());
    else
        std::fprintf(stderr, "c portfolio winner: none\n");
    for (std::size_t k = 0; run.stats && k < race.conflicts.size(); ++k)
        std::fprintf(stderr, "c portfolio strategy %s conflicts: %" PRIu64 " cpu_seconds: %.3f\n",
                     strategy_name(run.strategies[k]).c_str(), race.conflicts[k], race.cpu_seconds[k]);
    std::fflush(stderr);
    if (run.proofs)
        run.proofs->keep(race.winner, proof_error);
    return race.outcome.stats;
}

} // namespace vetrix
