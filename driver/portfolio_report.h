// --portfolio on the command line: the race of the strategies and its report.
#pragma once

#include <vector>

#include "solver/control.h"
#include "solver/stats.h"

// Reads file_name once and races the strategies on it. Standard output gets
// exactly what `vetrix file_name n` prints for the winning strategy n;
// standard error the line "c portfolio winner: strategy n" ("none" when no
// strategy decided) and, with stats, each strategy's conflicts. Returns the
// counters of the strategy reported.
SolveStats run_portfolio(const char *file_name, const std::vector<int> &strategies,
                         const SolveControl &control, bool stats);
