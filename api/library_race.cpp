#include "api/library_race.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "api/lane_proofs.h"
#include "api/portfolio.h"
#include "api/run.h"
#include "solver/proof.h"
#include "support/uponeub.h"

namespace vetrix {

bool uses_fast_engine(const vetrix::Options &options) {
    const std::vector<int> &list = options.strategies;
    return list.empty() ? options.strategy == FAST_STRATEGY
                        : std::find(list.begin(), list.end(), FAST_STRATEGY) != list.end();
}

void check_strategies(const vetrix::Options &options) {
    const std::vector<int> &list = options.strategies;
    if (list.empty())
        return check_strategy(options.strategy);
    for (auto k = list.begin(); k != list.end(); ++k) {
        check_strategy(*k);
        if (std::find(list.begin(), k, *k) != k)
            fatal("repeated strategy " + std::to_string(*k) + "\n");
    }
    // Searches in threads of their own would call the callback at once and
    // mix their counters.
    if (list.size() > 1 && options.progress)
        fatal("progress reports are not given by a race of strategies\n");
}

SolveOutcome race_options(std::unique_ptr<Formula> formula, int nb_var, const vetrix::Options &options,
                          const SolveControl &control, int &strategy) {
    LaneProofs files; // closed, and so removed, whatever happens
    std::string error;
    if (options.proof && !files.create(options.strategies.size(), error))
        fatal(error + "\n");
    std::vector<std::unique_ptr<ProofWriter>> proofs; // each flushed into its file when it goes
    std::vector<RaceEntrant> entrants;
    for (std::size_t k = 0; k < options.strategies.size(); ++k) {
        if (options.proof)
            proofs.push_back(make_proof_writer(files.stream(k), options.binary_proof, options.lrat));
        entrants.push_back(RaceEntrant{options.strategies[k], proofs.empty() ? nullptr : proofs.back().get()});
    }
    RaceResult race = race_strategies(std::move(formula), nb_var, entrants, control, true);
    proofs.clear();
    if (options.proof)
        files.copy(race.winner, *options.proof);
    strategy = options.strategies[race.winner];
    return std::move(race.outcome);
}

} // namespace vetrix
