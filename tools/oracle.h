// Answers that share nothing with vetrix: model checking and exhaustive
// search, for the differential test and the fuzz targets.
#pragma once

#include <vector>

#include "tools/cnfgen.h"

namespace cnfgen {

// Largest variable count brute_force_sat accepts.
constexpr int kBruteForceMaxVars = 20;

// True when some assignment of variables 1..nb_var satisfies every clause.
// Tries all 2^nb_var assignments; nb_var <= kBruteForceMaxVars.
bool brute_force_sat(int nb_var, const Clauses &clauses);

// True when every clause has a literal true under truth (truth[v] for
// variable v; truth has at least nb_var + 1 entries).
bool satisfies(const Clauses &clauses, const std::vector<bool> &truth);

} // namespace cnfgen
