// The incremental solver behind vetrix::Solver and the command line's
// incremental files: one solver state kept across calls. Clauses collect in
// a formula until the next call; the first call builds the state from it
// exactly as a one-shot solve does (so that its answer is the one-shot
// answer), later calls add the new clauses to the state they keep.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "reader/clause_builder.h"
#include "solver/control.h"
#include "support/formula.h"
#include "vetrix/statistics.h"
#include "vetrix/verdict.h"

namespace vetrix {

class CHpGN56;

class Incremental {
  public:
    explicit Incremental(int strategy); // "wrong strategy N" unless 0, 1, 2
    ~Incremental();
    Incremental(const Incremental &) = delete;
    Incremental &operator=(const Incremental &) = delete;

    // Adds a clause by the reader's clause rules. A literal 0, INT_MIN or
    // beyond the largest variable count fails with "literal L out of range
    // in clause K", K counting the clauses added; nothing is taken then.
    void add_clause(const int *lits, std::size_t size);
    // Variables 1..num_vars exist from now on.
    void declare_vars(int num_vars);
    // Chooses the strategy anew: "vetrix: the strategy is chosen before the
    // first clause" once a clause is added or begun (clause_open).
    void set_strategy(int strategy, bool clause_open);
    // Assumes lits[0 .. size) for the next call only, or none of them when
    // one is out of range ("assumption L out of range" for 0, INT_MIN or
    // beyond the largest variable count).
    void assume(const int *lits, std::size_t size);
    // Decides under the assumptions given since the last call and forgets
    // them. control carries the proof, the stop conditions, the progress
    // callback, the limits as totals of stats() and warm start (decisions
    // in the polarity of the last model).
    Verdict solve(const SolveControl &control);

    const std::vector<int> &model() const { return model_; }   // after satisfiable: +v or -v per v
    const std::vector<int> &failed() const { return failed_; } // after unsatisfiable
    Verdict last() const { return last_; }
    int strategy() const { return strategy_; }
    int num_vars() const;
    std::size_t num_clauses() const { return nb_clauses_; }
    const Statistics &stats() const;

  private:
    void builder_for(int vars);
    bool load_pending(int vars, const SolveControl &control);
    void refuted_by_batch(const Formula &f, long long line_base, const SolveControl &control);
    Verdict answer(const std::vector<int> &assumed);

    int strategy_;
    std::unique_ptr<CHpGN56> state_;         // built by the first call
    std::unique_ptr<Formula> pending_;       // clauses added since the last call, emptied by each
    std::unique_ptr<ClauseBuilder> builder_; // fills pending_, for builder_vars_ variables
    int builder_vars_ = 0;
    int nb_var_ = 0;                         // largest variable named or declared
    std::size_t nb_clauses_ = 0;             // clauses added
    std::size_t loaded_clauses_ = 0;         // ... of them in the state (or refuting it)
    std::vector<int> assumptions_;           // for the next call
    bool refuted_ = false;                   // the clauses alone are unsatisfiable
    Verdict last_ = Verdict::unknown;
    std::vector<int> model_;
    std::vector<int> failed_;
    Statistics no_stats_;                    // the counters before the first call
};

} // namespace vetrix
