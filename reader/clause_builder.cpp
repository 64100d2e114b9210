#include "reader/clause_builder.h"

#include <string>

#include "support/literal.h"
#include "support/uponeub.h"

namespace {

// A clause this short is searched directly for a code: cheaper than a
// random access into the per-code marks, which do not fit in the cache for
// large formulas.
constexpr int SCAN_LIMIT = 16;

[[noreturn]] void out_of_range(bool negative, int v, int clause_no) {
    fatal("literal " + std::string(negative ? "-" : "") + std::to_string(v) + " out of range in clause " +
          std::to_string(clause_no) + "\n");
}

} // namespace

ClauseBuilder::ClauseBuilder(Formula &formula, int nb_var, int nb_clause)
    : formula_(formula), nb_var_(nb_var) {
    if (nb_clause < -1)
        fatal("wrong array size\n");
    if (nb_clause > 0)
        formula_.reserve_clauses(nb_clause);
    lit_mark_.SetSize(2 * nb_var, -1); // untouched pages until a long clause
}

// True when code is in the open clause.
bool ClauseBuilder::holds(int code) {
    const int *begin = formula_.open_begin();
    const int *end = formula_.open_end();
    const int size = static_cast<int>(end - begin);
    if (size <= SCAN_LIMIT) {
        for (const int *p = begin; p != end; ++p)
            if (*p == code)
                return true;
        return false;
    }
    for (; marked_ < size; ++marked_)
        lit_mark_[begin[marked_]] = clause_no_;
    return lit_mark_[code] == clause_no_;
}

ClauseBuilder::Added ClauseBuilder::add_literal(int v, bool negative) {
    if (dropped_)
        return Added::Dropped;
    if (v < 1 || v > nb_var_)
        out_of_range(negative, v, clause_no_);
    const int code = dimacs_to_code(v, negative);
    if (!holds(code)) {
        formula_.add_code(code);
        return Added::Stored;
    }
    if (!holds(lit_neg(code)))
        return Added::Repeated;
    formula_.discard_open_clause();
    dropped_ = true;
    return Added::Dropped;
}

bool ClauseBuilder::end_clause() {
    const bool stored = !dropped_;
    if (stored)
        formula_.close_clause();
    dropped_ = false;
    marked_ = 0;
    return stored;
}
