// The clause rules of the reader, apart from the text: a literal repeated in
// a clause is stored once, a repeat while the complement is present drops the
// clause as always true, a literal outside 1..nb_var ends the run, and a
// clause may be empty. The text scanner and any other producer of clauses
// go through it, so both build the same formula from the same clauses.
#pragma once

#include <climits>
#include <string>

#include "support/formula.h"
#include "support/literal.h"
#include "support/my_carray.h"

namespace vetrix {

class ClauseBuilder {
  public:
    enum class Added { Stored, Repeated, Dropped };

    // Starts filling formula (empty) with at most nb_clause clauses over
    // nb_var variables. A count below -1, or a negative variable count, ends
    // the run with "wrong array size".
    ClauseBuilder(Formula &formula, int nb_var, int nb_clause);

    // Opens the next clause; clauses are numbered from 1, dropped ones too.
    void begin_clause() { ++clause_no_; }
    // Adds the DIMACS literal v (negated when negative) to the open clause.
    // After Dropped the clause is gone and further literals are ignored
    // until end_clause.
    Added add_literal(int v, bool negative) {
        if (dropped_)
            return Added::Dropped;
        if (v < 1 || v > nb_var_)
            out_of_range((negative ? "-" : "") + std::to_string(v));
        const int code = dimacs_to_code(v, negative);
        if (!holds(code)) {
            formula_.add_code(code);
            return Added::Stored;
        }
        return repeated(code);
    }
    // Adds a signed DIMACS literal; 0 and INT_MIN are out of range.
    Added add_dimacs(int lit) {
        if (lit > 0)
            return add_literal(lit, false);
        if (lit < 0 && lit != INT_MIN)
            return add_literal(-lit, true);
        if (dropped_)
            return Added::Dropped;
        out_of_range(std::to_string(lit));
    }
    // Closes the open clause; false when it was dropped.
    bool end_clause() {
        const bool stored = !dropped_;
        if (stored)
            formula_.close_clause();
        else
            formula_.drop_clause();
        dropped_ = false;
        marked_ = 0;
        return stored;
    }

  private:
    // A clause this short is searched directly for a code: cheaper than a
    // random access into the per-code marks, which do not fit in the cache
    // for large formulas.
    static constexpr int SCAN_LIMIT = 16;

    // True when code is in the open clause.
    bool holds(int code) {
        const int *begin = formula_.open_begin();
        const int *end = formula_.open_end();
        if (end - begin > SCAN_LIMIT)
            return holds_marked(code);
        for (const int *p = begin; p != end; ++p)
            if (*p == code)
                return true;
        return false;
    }
    bool holds_marked(int code);
    Added repeated(int code);
    // Ends the run: "literal L out of range in clause K".
    [[noreturn]] void out_of_range(const std::string &literal) const;

    Formula &formula_;
    int nb_var_;
    IntArray lit_mark_; // per code: the clause that last stored it (long clauses)
    int clause_no_ = 0; // the open clause's number
    int marked_ = 0;    // codes of the open clause entered in lit_mark_
    bool dropped_ = false;
};

// Adds the clause lits[0 .. n) of DIMACS literals through the clause rules:
// a literal repeated is stored once, a repeat while the complement is
// present drops the clause, and clauses are numbered from 1, dropped ones
// included, as the reader numbers clause lines in its "out of range" message.
void add_literals(ClauseBuilder &builder, const int *lits, std::size_t n);

} // namespace vetrix
