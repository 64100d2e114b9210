// The formula from clauses given as DIMACS literals, and the solve shared by
// the C++ and the C interface.
#pragma once

#include <cstddef>
#include <memory>

#include "reader/clause_builder.h"
#include "support/formula.h"
#include "vetrix/vetrix.h"

namespace vetrix {

// Fails with "wrong array size" when the solver's tables cannot be sized for
// nb_var variables and nb_clause clauses.
void check_counts(int nb_var, std::size_t nb_clause);
// The largest variable count the solver's tables can be sized for.
int max_vars();

// Adds the clause lits[0 .. n) through the reader's clause rules: a literal
// repeated is stored once, a repeat while the complement is present drops
// the clause, and clauses are numbered from 1, dropped ones included, as the
// reader numbers clause lines in its "out of range" message.
void add_clause(ClauseBuilder &builder, const int *lits, std::size_t n);

// Decides formula (consumed) of nb_var variables with the options'
// strategy, or races the options' strategies; the options are checked
// (check_strategies) already.
vetrix::Result decide(std::unique_ptr<Formula> formula, int nb_var, const vetrix::Options &options);

} // namespace vetrix
