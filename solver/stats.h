// Counters of one solve: the library's vetrix::Statistics, which the command
// line's --stats reports and every Result carries.
#pragma once

#include "vetrix/statistics.h"

namespace vetrix {

using SolveStats = vetrix::Statistics;

} // namespace vetrix
