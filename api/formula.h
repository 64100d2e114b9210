// The formula from clauses given as DIMACS literals, and the solve shared by
// the C++ and the C interface.
#pragma once

#include <cstddef>

#include "support/my_carray.h"
#include "vetrix/vetrix.h"

// Fills a formula clause by clause with the reader's clause rules: a literal
// repeated in a clause is stored once, and a clause in which a literal
// repeats while its complement is present is dropped as always true. Clauses
// are numbered from 1 in the order given, dropped ones included, as the
// reader numbers clause lines in its "out of range" message.
class FormulaBuilder {
  public:
    // A formula of nb_var variables and at most nb_clause clauses in dnf.
    FormulaBuilder(int nb_var, std::size_t nb_clause, Dnf &dnf);
    void add_clause(const int *lits, std::size_t n);
    // Trims dnf to the clauses kept.
    void finish();

  private:
    Dnf &dnf_;
    IntArray lit_mark_; // per code: the clause that last stored it
    int nb_var_;
    int clause_no_ = 0; // clauses given so far
    int slot_ = 0;      // clauses kept so far
};

// Decides dnf (consumed) of nb_var variables with the options' strategy.
vetrix::Result decide(Dnf &dnf, int nb_var, const vetrix::Options &options);
