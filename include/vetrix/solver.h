// vetrix::Solver, one solver that lives across many calls: clauses are added
// between calls and kept, and so is everything the search learnt (learnt
// cubes, facts fixed at the root, activities); each call may solve under
// assumptions that hold for that call only, and an unsatisfiable call under
// assumptions names the assumptions it failed on.
//
//   vetrix::Solver solver;             // the fast engine; Solver(0) strategy 0
//   solver.add_clause({1, 2});
//   solver.add_clause({-1, 2});
//   solver.assume(-2);
//   solver.solve();                    // Verdict::unsatisfiable
//   solver.failed(-2);                 // true
//   solver.solve();                    // Verdict::satisfiable, solver.value(2) == 2
//
// Assumptions are decided first, in the order given, one level each, before
// the strategy's own branching; no learnt cube depends on them, so every one
// stays valid for later calls. An assumption already true when its turn
// comes is skipped; one already false ends the call as unsatisfiable.
//
// A fresh solver of strategy 0, 1 or 2 given a formula's clauses (and its
// variable count, with declare_vars) and solved once without assumptions
// answers exactly what vetrix::solve answers for the formula with that
// strategy: the same verdict, model and counters. A given sequence of calls
// gives the same answers every time, on every strategy.
//
// Independent solvers may be used in several threads at once; one solver
// is used by one thread at a time (only its stop flag may be raised from
// another). Every failure is a vetrix::Error; after one the solver is still
// usable, and the clause or assumption that failed is not taken.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "vetrix/export.h"
#include "vetrix/progress.h"
#include "vetrix/statistics.h"
#include "vetrix/strategy.h"
#include "vetrix/verdict.h"

namespace vetrix {

class VETRIX_API Solver {
  public:
    // A solver without clauses, deciding by strategy 0, 1 or 2 (the
    // exact searches) or FAST_STRATEGY, the fast engine and the default
    // ("wrong strategy N" otherwise).
    explicit Solver(int strategy = FAST_STRATEGY);
    ~Solver();
    Solver(Solver &&) noexcept;
    Solver &operator=(Solver &&) noexcept;
    Solver(const Solver &) = delete;
    Solver &operator=(const Solver &) = delete;

    // ---- the formula ----
    // Adds one DIMACS literal to the clause being built; 0 ends it. A
    // clause is read by the rules of vetrix::solve: a repeated literal
    // counts once, a clause holding a literal and its complement is always
    // true and dropped, an empty clause makes the formula unsatisfiable.
    // Variables come into being on first use.
    void add(int lit);
    // Adds a whole clause (without its ending 0). A literal 0, INT_MIN or
    // beyond the largest variable count fails with "literal L out of range
    // in clause K", K counting the clauses added.
    void add_clause(const std::vector<int> &clause);
    void add_clause(const int *lits, std::size_t size);
    // Variables 1..num_vars exist from now on, named by a clause or not (a
    // formula's declared count; its unnamed variables are decided too).
    void declare_vars(int num_vars);

    // ---- one call ----
    // Assumes lit true for the next solve only ("assumption L out of range"
    // for 0, INT_MIN or a variable beyond max_var()).
    void assume(int lit);
    // Assumes every literal of lits, or none when one is out of range.
    void assume(const std::vector<int> &lits);
    // The largest variable a solver's tables can hold.
    static int max_var();
    // Decides the formula under the assumptions given since the last call,
    // then forgets them. Unknown after a limit, the stop flag or the
    // terminate callback; the solver stays valid and the next call goes on
    // from what this one learnt. Unsatisfiable without assumptions is final:
    // every later call answers it at once.
    Verdict solve();

    // Unit propagation without search: each literal of lits in turn is
    // set at a level of its own (one already true is skipped, one false
    // ends it) and propagated over every clause the solver holds, learnt
    // ones and facts fixed at the root included; then the solver is back at
    // the root. The literals set beyond the root go to set, in the order
    // set (up to the conflict, if one arose); false on a conflict or when
    // the clauses alone are refuted. Literals are refused as assume()
    // refuses them, before anything changes; the assumptions of the next
    // solve stay queued. On the fast engine it propagates the solver's own
    // state (a conflict at the root is final, as in a solve); strategies 0-2
    // propagate a copy of their clauses, in time linear in the clauses held,
    // and leave their state untouched.
    bool propagate(const std::vector<int> &lits, std::vector<int> &set);

    // After satisfiable: lit when it is true in the model, -lit when false
    // (a variable the model leaves free counts as false, as in the command
    // line's v lines). Fails unless the last call was satisfiable.
    int value(int lit) const;
    // After satisfiable: for v = 1..num_vars(), +v or -v.
    const std::vector<int> &model() const;
    // After unsatisfiable: true when lit is one of the failed assumptions,
    // a subset of the last call's assumptions that the clauses refute on
    // their own (empty when the clauses alone are unsatisfiable). Fails
    // unless the last call was unsatisfiable.
    bool failed(int lit) const;
    const std::vector<int> &failed_assumptions() const;

    // Warm start: with on, every later call decides as its strategy
    // chooses, but in the polarity each variable has in the last model (a
    // variable it leaves free, or has never seen, keeps the strategy's).
    // Sequences of similar calls (cores, MaxSAT, MUS) often end much sooner;
    // off (the default), every call follows its strategy exactly.
    void set_warm_start(bool on);

    // ---- options by name (vetrix/options.h), in any order ----
    // Sets the option name to value, given as text as on the command line:
    // set("warm-start", "1"), set("conflicts", "1000"), set("lrat", "1"),
    // set("proof", path) (the solver writes its proof to the file path,
    // created now, as set_proof does to a stream).
    // A limit set so bounds every call (limit_*() below bound the next one
    // only, before it); the strategy is chosen before the first clause; the
    // proof's format (lrat, binary-proof) before the first solve that writes
    // the proof. Fails with option_message()'s line, or the rule's.
    void set(std::string_view name, std::string_view value);

    // ---- limits of the next call (each forgotten after it; 0 or below: none) ----
    void limit_time(double seconds);
    void limit_conflicts(std::int64_t conflicts);
    void limit_decisions(std::int64_t decisions);
    void limit_propagations(std::int64_t propagations);

    // ---- hooks, kept until replaced (an empty function or null removes one) ----
    // A flag another thread raises to stop the search at its next decision
    // or conflict; the caller lowers it again.
    void set_stop(const std::atomic<bool> *stop);
    // Asked at every decision and conflict; true stops the call (unknown).
    void set_terminate(std::function<bool()> terminate);
    // Handed every learnt clause of at most max_size literals, as it is
    // learnt (the clause the learnt cube refutes).
    void set_learn(int max_size, std::function<void(const std::vector<int> &)> learn);
    // Told of the search's progress as vetrix::Options::progress is.
    void set_progress(std::function<void(const Progress &)> progress);
    // Writes a DRAT proof of every call to proof (text, or binary): learnt
    // clauses and deletions; the empty clause once the clauses alone are
    // refuted. The clauses added by the caller are the proof's formula.
    // With set("lrat", "1") the proof is LRAT: clause k added (counting
    // every clause given) has ID k, the clauses the search adds take IDs
    // from 2^31 on, and one proof covers every call.
    // Set it before the first solve; null stops writing.
    void set_proof(std::ostream *proof, bool binary = false);

    // ---- what the solver holds ----
    int strategy() const;
    int num_vars() const;               // the largest variable named or declared
    std::size_t num_clauses() const;    // clauses added
    const Statistics &statistics() const; // counters of every call so far

  private:
    void open_proof(const std::string &path);
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace vetrix
