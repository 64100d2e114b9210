#include "api/formula.h"

#include <climits>
#include <string>

#include "solver/base_m456.h"
#include "support/literal.h"
#include "support/uponeub.h"

namespace {

// The largest counts whose tables still have int sizes: 2n + QUEUE_EXTRA
// queue entries, m + ARENA_EXTRA tail-store codes.
constexpr int MAX_VARS = (INT_MAX - QUEUE_EXTRA) / 2 - 2;
constexpr std::size_t MAX_CLAUSES = INT_MAX - ARENA_EXTRA;

} // namespace

FormulaBuilder::FormulaBuilder(int nb_var, std::size_t nb_clause, Dnf &dnf) : dnf_(dnf), nb_var_(nb_var) {
    if (nb_var < 0 || nb_var > MAX_VARS || nb_clause > MAX_CLAUSES)
        fatal("wrong array size\n");
    dnf_.SetSize(static_cast<int>(nb_clause), -1);
    lit_mark_.SetSize(2 * nb_var, -1);
}

void FormulaBuilder::add_clause(const int *lits, std::size_t n) {
    ++clause_no_;
    IntArray &clause = dnf_[slot_];
    clause.SetSize(0, 3);
    for (std::size_t k = 0; k < n; ++k) {
        const int lit = lits[k];
        if (lit == 0 || lit > nb_var_ || lit < -nb_var_)
            fatal("literal " + std::to_string(lit) + " out of range in clause " + std::to_string(clause_no_) +
                  "\n");
        const int code = dimacs_to_code(lit < 0 ? -lit : lit, lit < 0);
        if (lit_mark_[code] != clause_no_) {
            clause.Append(code);
            lit_mark_[code] = clause_no_;
        } else if (lit_mark_[lit_neg(code)] == clause_no_) {
            clause.SetSize(0, -1); // the rest of the clause is not read
            return;
        }
    }
    ++slot_;
}

void FormulaBuilder::finish() { dnf_.SetSize(slot_, -1); }
