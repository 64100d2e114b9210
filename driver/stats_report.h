// The --stats report: the solve's counters, peak memory and wall time, one
// "c name: value" line each, on standard error.
#pragma once

#include "vetrix/statistics.h"

namespace vetrix {

void write_stats(const Statistics &stats, double wall_seconds);

} // namespace vetrix
