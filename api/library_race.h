// Options::strategies: their check, and their race on api/portfolio's
// race_strategies, which the library always lets finish (every strategy has
// stopped when the call returns or throws) and whose winner's proof it
// copies into the options' stream.
#pragma once

#include <memory>

#include "solver/engine.h"
#include "vetrix/vetrix.h"

namespace vetrix {


// Fails unless every strategy the options ask for is 0, 1, 2 or
// FAST_STRATEGY ("wrong strategy N") and listed once ("repeated strategy
// N"), unless a race of more than one strategy goes without a progress
// callback.
void check_strategies(const vetrix::Options &options);

// Races options.strategies (more than one) on formula under control's stop
// flag and deadline and waits until each has stopped. Returns the outcome of
// the reported strategy (the winner; when none decided, the first listed
// that did not fail), which goes to strategy; its proof goes to
// options.proof. When every strategy failed, the first one's failure is
// thrown again.
SolveOutcome race_options(std::unique_ptr<Formula> formula, int nb_var, const vetrix::Options &options,
                          const SolveControl &control, int &strategy);

} // namespace vetrix
