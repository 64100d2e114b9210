// The fast engine: a CDCL search free of the exact strategies' search order, for
// callers that want speed and need no particular model. Literals are DIMACS
// integers at this interface; a clause is a run of literals ended by 0.
//
//   vetrix::fast::Engine e;
//   e.add(1); e.add(-2); e.add(0);    // the clause 1 -2
//   e.assume(2);                       // for the next solve only
//   int verdict = e.solve();           // 10 SAT, 20 UNSAT, 0 stopped
//   e.value(1);                        // 1 or -1 after SAT
//   e.failed(2);                       // after UNSAT under assumptions
//
// Clauses and variables may be added between calls; what was learnt stays.
// Every SAT answer is checked inside the engine against every clause added;
// a model that fails the check gives 0 and sets Stats::model_check_failed.
// The engine is deterministic: nothing it decides depends on time; a time
// limit is the caller's business, through the terminate callback.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace vetrix {
namespace fast {

struct Internal;

// Limits of one solve call, each counted from the call's start; -1 = none.
struct Limits {
    int64_t conflicts = -1;
    int64_t decisions = -1;
    int64_t propagations = -1;
};

// Counters over the engine's life.
struct Stats {
    int64_t conflicts = 0;
    int64_t decisions = 0;
    int64_t propagations = 0;   // literals assigned and propagated
    int64_t watch_visits = 0;   // watch-list entries looked at
    int64_t restarts = 0;
    int64_t stable_restarts = 0;
    int64_t mode_switches = 0;
    int64_t rephases = 0;
    int64_t reductions = 0;
    int64_t collections = 0;    // arena garbage collections
    int64_t learnt_literals = 0;   // after minimization
    int64_t minimized_literals = 0; // removed by minimization
    int64_t learnt_units = 0;
    int64_t fixed = 0;          // variables fixed at the root
    int64_t simplifications = 0; // root-level clause-base simplifications
    int64_t removed_clauses = 0; // by root-level simplification
    int64_t probe_rounds = 0;
    int64_t failed_literals = 0; // found by probing
    int64_t subsume_rounds = 0;
    int64_t subsumed = 0;        // clauses deleted as subsumed
    int64_t strengthened = 0;    // clauses shortened by self-subsuming resolution
    int64_t vivify_rounds = 0;
    int64_t vivified = 0;        // learnt clauses vivification shortened
    int64_t eliminations = 0;    // elimination rounds
    int64_t eliminated = 0;      // variables eliminated
    int64_t restored = 0;        // eliminated variables given back because a caller used them
    int64_t irredundant_added = 0; // clauses of the formula taken in (restored ones included)
    int64_t solves = 0;
    bool model_check_failed = false;
};

// What the engine holds now, for progress lines.
struct Progress {
    int64_t conflicts;
    int64_t decisions;
    int64_t propagations;
    int64_t irredundant; // clauses of the formula held (binary ones included)
    int64_t redundant;   // learnt clauses held (binary ones included)
    int fixed;           // variables fixed at the root
    bool stable;         // in the stable mode
};

class Engine {
  public:
    Engine();
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    // Makes variables 1..n known (add does so for the variables it meets).
    void reserve(int n);
    // Room for clauses more clauses of literals literals in all, so that
    // the clause tables do not grow by copying while they are added.
    void reserve_clauses(int64_t clauses, int64_t literals);
    int variables() const;
    // Adds literal lit to the clause being built; 0 ends it.
    void add(int lit);
    // Assumes lit for the next solve call only.
    void assume(int lit);

    // Unit propagation without search over every clause held, learnt ones
    // and root facts included: each of lits[0 .. size) in turn is set at a
    // level of its own (one already true is skipped, one false ends it) and
    // propagated. The literals set beyond the root go to set, in the order
    // set; false on a conflict (set then ends where it arose). The engine is
    // back at the root afterwards; a conflict at the root itself makes it
    // unsatisfiable for good, as a solve would.
    bool propagate(const int *lits, size_t size, std::vector<int> &set);

    // 10 satisfiable, 20 unsatisfiable, 0 stopped by a limit or terminate.
    int solve(const Limits &limits = Limits());

    // After 10: lit if lit is true in the model, -lit if it is false.
    int value(int lit) const;
    // After 20: true when assumption lit is part of the refuted core.
    bool failed(int lit) const;

    // Asked at every conflict and every 64th decision; true stops the solve.
    void set_terminate(std::function<bool()> terminate);
    // Called with every learnt clause of at most max_size literals (DIMACS,
    // not 0-ended), units included.
    void set_learn(int max_size, std::function<void(const int *lits, int size)> learn);
    // Called every period conflicts during a solve.
    void set_progress(int64_t period, std::function<void(const Progress &)> progress);
    // Sets one of the engine's switches (each 0 or 1, default 1 but for
    // probe and subsume): eliminate (bounded variable elimination), probe (failed-literal
    // probing), subsume (subsumption and strengthening), vivify
    // (vivification of learnt clauses),
    // minimize (of learnt clauses), stable (alternation with the stable
    // mode; 0 keeps the focused mode), rephase. False for an unknown name
    // or a value other than 0 and 1.
    bool set_option(const char *name, int value);
    // Writes a proof (text or binary; DRAT, or LRAT with lrat) of what
    // follows to out. The proof is complete for a formula whose every clause
    // is added after this call; an LRAT proof must begin before the first
    // clause (the clauses held need their IDs). LRAT: clause k added has
    // ID k (unless set_clause_id says otherwise); every input clause's ID is
    // at most input_ids, and the derived clauses take IDs above, so that
    // clauses may be added between calls.
    void set_proof(std::ostream &out, bool binary, bool lrat = false, int64_t input_ids = 2147483647);
    // LRAT: the ID of the next clause added; the ones after it count on.
    void set_clause_id(int64_t id);
    // Writes the proof's buffered steps to its stream.
    void flush_proof();

    const Stats &stats() const;
    Progress progress() const;

  private:
    std::unique_ptr<Internal> in_;
};

} // namespace fast
} // namespace vetrix
