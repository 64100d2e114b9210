#include "api/formula.h"

#include <climits>

#include "solver/base_m456.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

// The largest counts whose tables still have int sizes: 2n + QUEUE_EXTRA
// queue entries, m + ARENA_EXTRA tail-store codes.
constexpr int MAX_VARS = (INT_MAX - QUEUE_EXTRA) / 2 - 2;
constexpr std::size_t MAX_CLAUSES = INT_MAX - ARENA_EXTRA;

} // namespace

void check_counts(int nb_var, std::size_t nb_clause) {
    if (nb_var < 0 || nb_var > MAX_VARS || nb_clause > MAX_CLAUSES)
        fatal("wrong array size\n");
}

int max_vars() { return MAX_VARS; }

void add_clause(ClauseBuilder &builder, const int *lits, std::size_t n) {
    builder.begin_clause();
    for (std::size_t k = 0; k < n; ++k)
        if (builder.add_dimacs(lits[k]) == ClauseBuilder::Added::Dropped)
            break; // the rest of a dropped clause is not read
    builder.end_clause();
}

} // namespace vetrix
