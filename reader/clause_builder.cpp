#include "reader/clause_builder.h"

#include <string>

#include "support/uponeub.h"

namespace vetrix {

ClauseBuilder::ClauseBuilder(Formula &formula, int nb_var, int nb_clause)
    : formula_(formula), nb_var_(nb_var) {
    if (nb_clause < -1)
        fatal("wrong array size\n");
    if (nb_clause > 0)
        formula_.reserve_clauses(nb_clause);
    lit_mark_.SetSize(2 * nb_var, -1); // untouched pages until a long clause
}

void ClauseBuilder::out_of_range(const std::string &literal) const {
    fatal("literal " + literal + " out of range in clause " + std::to_string(clause_no_) + "\n");
}

// The marks catch up with the codes stored since the last look.
bool ClauseBuilder::holds_marked(int code) {
    const int *begin = formula_.open_begin();
    const int size = static_cast<int>(formula_.open_end() - begin);
    for (; marked_ < size; ++marked_)
        lit_mark_[begin[marked_]] = clause_no_;
    return lit_mark_[code] == clause_no_;
}

// A repeat keeps the clause as it is, unless the complement is in it too:
// then the clause is always true and dropped.
ClauseBuilder::Added ClauseBuilder::repeated(int code) {
    if (!holds(lit_neg(code)))
        return Added::Repeated;
    formula_.discard_open_clause();
    dropped_ = true;
    return Added::Dropped;
}

void add_literals(ClauseBuilder &builder, const int *lits, std::size_t n) {
    builder.begin_clause();
    for (std::size_t k = 0; k < n; ++k)
        if (builder.add_dimacs(lits[k]) == ClauseBuilder::Added::Dropped)
            break; // the rest of a dropped clause is not read
    builder.end_clause();
}

} // namespace vetrix
