// The fast engine (solver/fast) behind the solver layer's calls: the one-shot
// solve of a formula and the solver of many calls take it for strategy
// FAST_STRATEGY. The lane turns the caller's control into the engine's: the
// limits, the stop conditions polled at the engine's conflicts and decisions,
// the learn and progress callbacks and the DRAT or LRAT proof.
#pragma once

#include <memory>
#include <vector>

#include "solver/control.h"
#include "solver/engine.h"
#include "support/formula.h"
#include "vetrix/statistics.h"
#include "vetrix/verdict.h"

namespace vetrix {

class FastLane {
  public:
    FastLane();
    ~FastLane();
    FastLane(const FastLane &) = delete;
    FastLane &operator=(const FastLane &) = delete;

    // Gives the engine the clauses of batch (the clauses added since the last
    // call) and variables 1..nb_var, then decides them under assumed. The
    // model (+v or -v per v = 1..nb_var) or the failed assumptions go to
    // model and failed. An LRAT proof names clause line k of the batches
    // added so far, in order, by ID k. When consumed is the batch itself,
    // its storage goes back as the engine takes its clauses, and it is
    // empty afterwards.
    Verdict solve(const Formula &batch, int nb_var, const std::vector<int> &assumed,
                  const SolveControl &control, std::vector<int> &model, std::vector<int> &failed,
                  Formula *consumed = nullptr);

    // Gives the engine the clauses of batch and variables 1..nb_var as solve
    // does, then propagates assumed without search (fast::Engine::propagate):
    // false on a conflict, the literals set beyond the root in set.
    bool propagate(const Formula &batch, int nb_var, const std::vector<int> &assumed, const SolveControl &control,
                   std::vector<int> &set);

    // The engine's counters as the solver layer names them.
    const Statistics &stats() const { return stats_; }
    // LRAT: the input clauses' IDs go up to inputs (by default as many as an
    // incremental solver can be given), the derived clauses' IDs above.
    // Before the first call.
    void set_input_ids(long long inputs);
    // The largest variable the engine knows.
    int variables() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    Statistics stats_;
};

// One solve of formula by the fast engine, as solve_formula gives it.
SolveOutcome solve_fast(const Formula &formula, int nb_var, const SolveControl *control);
// The same, the formula's storage going back as the engine takes its
// clauses (the formula is empty afterwards), so that the two are never
// both whole.
SolveOutcome solve_fast(Formula &formula, int nb_var, const SolveControl *control);

} // namespace vetrix
