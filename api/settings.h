// The control of a search from the library's options: the one place where
// the options' bounds become the search's. The proof, the progress callback
// and the hooks stay the caller's to add.
#pragma once

#include "solver/control.h"
#include "vetrix/statistics.h"
#include "vetrix/vetrix.h"

namespace vetrix {

// The stop flag, warm start and bounds of options for a search that starts
// at start: the time limit counted from start, the counters' limits as
// totals once the counters done are spent.
SolveControl control_of(const Options &options, SolveControl::Clock::time_point start,
                        const Statistics &done = Statistics());

} // namespace vetrix
