// The clause rules of the reader, apart from the text: a literal repeated in
// a clause is stored once, a repeat while the complement is present drops the
// clause as always true, a literal outside 1..nb_var ends the run, and a
// clause may be empty. The text scanner and any other producer of clauses
// go through it, so both build the same formula from the same clauses.
#pragma once

#include "support/formula.h"
#include "support/my_carray.h"

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
    Added add_literal(int v, bool negative);
    // Closes the open clause; false when it was dropped.
    bool end_clause();

  private:
    bool holds(int code);

    Formula &formula_;
    int nb_var_;
    IntArray lit_mark_;   // per code: the clause that last stored it (long clauses)
    int clause_no_ = 0;   // the open clause's number
    int marked_ = 0;      // codes of the open clause entered in lit_mark_
    bool dropped_ = false;
};
