// The --stats report: the solve's counters, peak memory and wall time, one
// "c name: value" line each, on standard error.
#pragma once

#include "solver/stats.h"

namespace vetrix {

void write_stats(const SolveStats &stats, double wall_seconds);

} // namespace vetrix
