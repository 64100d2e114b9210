// SIGINT and SIGTERM stop the search instead of ending the process: the
// handler only raises a flag that the solver reads at every decision and
// conflict. After the verdict ("s UNKNOWN" when the search was stopped) the
// process ends by the same signal, as CaDiCaL does, so that the caller sees
// it was interrupted (a shell reports 130 or 143).
#pragma once

#include <atomic>

namespace vetrix {

// Installs the handlers; after the first signal a second one ends the
// process at once.
void catch_stop_signals();
// Raised by the first SIGINT or SIGTERM.
const std::atomic<bool> &stop_signal_flag();
// After the run's output is complete: ends the process by the signal that was
// caught, if any; otherwise returns.
void end_by_caught_signal();

} // namespace vetrix
