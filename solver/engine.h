// The solver layer as the library sees it: the checks of its capacities and
// strategies, the one-shot solve of a formula, and Engine, the solver object
// of every face that makes many calls. The solver's state (base_m456.h)
// stays behind this header: nothing above the solver layer includes it.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "reader/clause_builder.h"
#include "solver/control.h"
#include "solver/stats.h"
#include "support/formula.h"
#include "vetrix/statistics.h"
#include "vetrix/strategy.h"
#include "vetrix/verdict.h"

namespace vetrix {

class CHpGN56;
class FastLane;

// ---- capacities and strategies ----
// Fails with "wrong strategy N" unless 0 <= n <= last: by default the
// exact strategies 0, 1, 2 and the fast engine's FAST_STRATEGY.
void check_strategy(int n, int last = FAST_STRATEGY);
// Fails with "wrong array size" when the solver's tables cannot be sized for
// nb_var variables and nb_clause clauses.
void check_counts(int nb_var, std::size_t nb_clause);
// The largest variable count the solver's tables can be sized for.
int max_vars();

// ---- one solve of a formula ----
// Each goes through an Engine of its own (Engine::solve_once).
// What a solve hands back.
struct SolveOutcome {
    int pass_value = -1;                // what the last pass returned (always -1)
    Verdict verdict = Verdict::unknown; // the answer
    SolveStats stats;                   // counters of the solve
    std::vector<int> model; // when satisfiable, per var v = 1..n: +v true, -v
                            // false or free, as the verdict lines print it
};
// Solves the formula (consumed while it is loaded) and gives back its answer
// without printing it. With a control, the proof is written and the search
// stops (verdict unknown) when the control asks for it.
SolveOutcome solve_formula(Formula &formula, int nb_var, int strategy, const SolveControl *control = nullptr);
// The same for a formula that several solves read at once: it is only read,
// and this solve lets go of it once its cube base is loaded (the last solve
// to let go frees it).
SolveOutcome solve_shared_formula(std::shared_ptr<const Formula> formula, int nb_var, int strategy,
                                  const SolveControl *control);
// Solves the formula (consumed), prints the verdict and flushes standard
// output; the solve's counters go to stats when it is given.
int base_B456_rs(Formula &formula, int nb_var, int strategy, SolveStats *stats = nullptr,
                 const SolveControl *control = nullptr);

// ---- the solver of many calls ----
// One solver state kept across calls, behind vetrix::Solver, IPASIR, Python's
// Solver and the command line's incremental files. Clauses collect in a
// formula until the next call; the first call builds the state from it
// exactly as a one-shot solve does (so that its answer is the one-shot
// answer), later calls add the new clauses to the state they keep. For
// FAST_STRATEGY each call hands the new clauses to the fast engine instead.
class Engine {
  public:
    explicit Engine(int strategy); // "wrong strategy N" unless 0, 1, 2 or FAST_STRATEGY
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

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
    // Unit propagation without search over every clause held, learnt ones
    // and root facts included: lits[0 .. size) in turn, each at a level of
    // its own (one already true is skipped, one false ends it). The literals
    // set beyond the root go to set, in the order set; false on a conflict,
    // or when the clauses alone are refuted. Literals are refuted as
    // assume() refutes them, before anything changes. The assumptions of
    // the next call stay as they are. The fast engine propagates on its
    // own state and is back at the root afterwards (control carries its
    // proof); the exact strategies propagate a copy of their clauses, so
    // that the next call finds what it would have found without this one.
    bool propagate(const int *lits, std::size_t size, const SolveControl &control, std::vector<int> &set);

    // ---- the one-shot solve ----
    // Builds the state from formula (consumed while it is loaded) and
    // decides it once, with no assumption, as the one-shot solve does; the
    // engine takes no call after it.
    SolveOutcome solve_once(Formula &formula, int nb_var, const SolveControl *control);
    // The same for a formula that several solves read at once: it is only
    // read, and let go once the cube base is loaded.
    SolveOutcome solve_once(std::shared_ptr<const Formula> formula, int nb_var, const SolveControl *control);
    // ---- end of the one-shot solve ----

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
    std::unique_ptr<FastLane> fast_;         // instead of state_, for FAST_STRATEGY
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
