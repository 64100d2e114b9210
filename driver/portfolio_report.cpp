#include "driver/portfolio_report.h"

#include <cinttypes>
#include <cstdio>

#include "api/portfolio.h"

SolveStats run_portfolio(const char *file_name, const std::vector<int> &strategies,
                         const SolveControl &control, bool stats) {
    std::vector<RaceEntrant> entrants;
    for (int n : strategies)
        entrants.push_back(RaceEntrant{n, nullptr});
    const RaceResult race = race_file(file_name, entrants, control, stats);
    std::fwrite(race.outcome.verdict.data(), 1, race.outcome.verdict.size(), stdout);
    std::fflush(stdout);
    if (race.decided)
        std::fprintf(stderr, "c portfolio winner: strategy %d\n", strategies[race.winner]);
    else
        std::fprintf(stderr, "c portfolio winner: none\n");
    for (std::size_t k = 0; k < race.conflicts.size(); ++k)
        std::fprintf(stderr, "c portfolio strategy %d conflicts: %" PRIu64 "\n", strategies[k],
                     race.conflicts[k]);
    std::fflush(stderr);
    return race.outcome.stats;
}
