// A lookahead over the formula: which variable splits a cube best, judged
// by the unit propagations its two values cause (the more both values fix,
// the smaller both halves). Rank 0 uses it for the first split; a worker
// whose search learnt nothing about a cube falls back to it.
#pragma once

#include <cstddef>
#include <vector>

#include "driver/mpi/dimacs.h"
#include "vetrix/cnf_file.h"

namespace vetrix {

class Lookahead {
  public:
    explicit Lookahead(const Cnf &cnf);

    // The best variable to split cube on among the most frequent ones the
    // cube's propagation leaves free; one value of it propagating to a
    // conflict makes it best at once. 0 when the cube propagates to a
    // conflict or leaves no variable free.
    int best_variable(const std::vector<int> &cube);

  private:
    static std::size_t index(int lit) { return 2 * var_of(lit) + (lit < 0); }
    bool is_true(int lit) const { return value_[index(lit)] != 0; }
    bool is_false(int lit) const { return value_[index(-lit)] != 0; }
    // Sets lit and propagates; false on a conflict.
    bool assign(int lit);
    bool propagate(std::size_t from);
    void undo(std::size_t to);

    const Cnf &cnf_;
    std::vector<std::vector<int>> occurs_; // per literal index: the clauses holding the literal
    std::vector<char> value_;              // per literal index: 1 when the literal is true
    std::vector<int> trail_;               // literals set, in order
    std::vector<int> by_occurrence_;       // variables, most frequent first
};

} // namespace vetrix
