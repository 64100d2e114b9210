#include "api/settings.h"

namespace vetrix {

SolveControl control_of(const Options &options, SolveControl::Clock::time_point start, const Statistics &done) {
    SolveControl control;
    control.start = start;
    control.stop = options.stop;
    if (options.time_limit > 0)
        control.deadline = deadline_after(start, options.time_limit);
    control.conflict_limit = limit_after(done.conflicts, options.conflict_limit);
    control.decision_limit = limit_after(done.decisions, options.decision_limit);
    control.propagation_limit = limit_after(done.propagations, options.propagation_limit);
    control.warm_start = options.warm_start;
    return control;
}

} // namespace vetrix
