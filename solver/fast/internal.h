// The fast engine's state: every table with what it holds and its index
// domain, and the functions of the engine grouped by the file that defines
// them. Literals are the project's codes (support/literal.h): 2v for +v and
// 2v + 1 for -v over 0-based variables v; lit ^ 1 is the complement.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "solver/fast/binary_ids.h"
#include "solver/fast/fast.h"
#include "solver/proof.h"

namespace vetrix {
namespace fast {

using Lit = int;       // a literal code
using Ref = uint32_t;  // a clause: its offset in the arena, in 32-bit words

constexpr Lit NO_LIT = -1;
// Reasons and conflicts: a clause offset, a binary clause given by its other
// literal with the top bit set, or none.
constexpr uint32_t NO_REASON = UINT32_MAX;
constexpr uint32_t BINARY_BIT = 0x80000000u;
// The clause reference of a watch that holds a binary clause inline.
constexpr Ref BINARY_WATCH = UINT32_MAX;

inline int var_of(Lit lit) { return lit >> 1; }
inline Lit lit_of(int dimacs) { return dimacs > 0 ? 2 * (dimacs - 1) : 2 * (-dimacs - 1) + 1; }
inline int dimacs_of(Lit lit) { return (lit & 1) ? -(var_of(lit) + 1) : var_of(lit) + 1; }
inline uint32_t binary_reason(Lit other) { return BINARY_BIT | static_cast<uint32_t>(other); }
inline bool is_binary_reason(uint32_t r) { return (r & BINARY_BIT) && r != NO_REASON; }
inline Lit binary_other(uint32_t r) { return static_cast<Lit>(r & ~BINARY_BIT); }

// One watch-list entry, 8 bytes. For a long clause, blocker is some other
// literal of the clause: when it is true the clause is not looked at. For a
// binary clause, blocker is the other literal and ref is BINARY_WATCH.
struct Watch {
    Lit blocker;
    Ref ref;
};

// A long clause (three literals or more) as it sits in the arena: two
// header words, then its literals; with an LRAT proof its clause ID takes
// the ID_WORDS words before the header. The first two literals are watched; a
// clause that is the reason of its assignment has the implied literal first.
struct Clause {
    uint32_t size;           // literals; after a move: the new offset
    uint32_t learnt : 1;     // redundant (learnt), else a clause of the formula
    uint32_t garbage : 1;    // deleted, its watches and words go at the next collection
    uint32_t moved : 1;      // placed anew by the collector: size holds the new offset until it moves
    uint32_t used : 2;       // reductions it survives without being used again
    uint32_t vivified : 1;   // vivification tried it already
    uint32_t lbd : 26;       // glue: decision levels among its literals when learnt
    Lit *lits() { return reinterpret_cast<Lit *>(this + 1); }
    const Lit *lits() const { return reinterpret_cast<const Lit *>(this + 1); }
};
constexpr uint32_t HEADER_WORDS = 2;
constexpr uint32_t ID_WORDS = 2;

// Learnt clauses by glue: core clauses are kept for good, middle ones while
// they are used now and then, local ones only while used since the last
// reduction.
constexpr uint32_t CORE_LBD = 2;
constexpr uint32_t MIDDLE_LBD = 6;

// Exponential moving average, with the plain mean over its first values so
// that it does not start biased towards 0.
struct Ema {
    double value = 0;
    double alpha = 0;
    int64_t count = 0;
    explicit Ema(double a) : alpha(a) {}
    void update(double x) {
        ++count;
        const double a = 1.0 / static_cast<double>(count) > alpha ? 1.0 / static_cast<double>(count) : alpha;
        value += a * (x - value);
    }
};

struct Internal {
    // ---- variables and values ----
    int nvars = 0;                   // variables 0 .. nvars-1 (DIMACS 1 .. nvars)
    std::vector<int8_t> vals;        // per literal [0, 2 nvars): 1 true, -1 false, 0 unassigned
    std::vector<int> level;          // per variable: decision level of its assignment
    std::vector<uint32_t> reason;    // per variable: why it is assigned (NO_REASON for decisions)
    std::vector<Lit> trail;          // the assigned literals in order
    std::vector<int> control;        // per decision level above 0: trail size when it began
    size_t qhead = 0;                // trail entries before it are propagated
    bool inconsistent = false;       // the clauses are unsatisfiable whatever is assumed

    // ---- clauses ----
    std::vector<std::vector<Watch>> watches; // per literal: the clauses watching it
    std::vector<uint32_t> arena;     // every long clause: header words and literals
    std::vector<Ref> irredundant;    // the long clauses of the formula, by offset
    std::vector<Ref> redundant;      // the long learnt clauses, by offset
    int64_t binary_irredundant = 0;  // binary clauses of the formula held in the watch lists
    int64_t binary_redundant = 0;    // binary learnt clauses held in the watch lists
    std::vector<int> original;       // every clause added, DIMACS literals, each ended by 0
    std::vector<int> adding;         // the clause being added, DIMACS literals

    // ---- decisions: EVSIDS scores in a binary max-heap ----
    std::vector<double> score;       // per variable: activity
    double score_inc = 1;            // what a bump adds, grown by 1/decay at every conflict
    std::vector<int> heap;           // variables, heap ordered by score
    std::vector<int> heap_pos;       // per variable: its index in heap, -1 when outside

    // ---- decisions in the focused mode: a queue by the time of the last bump ----
    struct QueueLink {
        int prev = -1, next = -1;    // the older and the more recent neighbour, -1 none
    };
    std::vector<QueueLink> links;    // per variable in the queue (the eliminated ones are out)
    std::vector<uint64_t> enqueued;  // per variable: when it last went to the queue's end
    uint64_t queue_time = 0;
    int queue_first = -1, queue_last = -1; // the oldest and the most recent, -1 when empty
    int queue_search = -1;           // the walk of decisions starts here: while the queue is on, every variable after it is assigned
    std::vector<int> bumped;         // the variables the current analysis met, when the queue bumps them

    // ---- phases, per variable: the sign bit of the literal to decide ----
    std::vector<uint8_t> saved;      // the value it had last
    std::vector<uint8_t> target;     // its value in the largest assignment without conflict since the last rephase
    std::vector<uint8_t> best;       // its value in the largest such assignment so far
    size_t target_assigned = 0;      // assigned literals when target was taken
    size_t best_assigned = 0;        // assigned literals when best was taken
    int64_t next_rephase = 0;        // conflicts at which the next rephase is due
    int64_t rephase_count = 0;

    // ---- assumptions ----
    std::vector<Lit> assumptions;    // for the current call, in the order given
    std::vector<uint8_t> failed;     // per literal: part of the last failed core
    std::vector<uint8_t> assumed;    // per variable: assumed in the current call, so kept out of the heap
    std::vector<int> assumed_vars;   // the variables marked in assumed

    // ---- conflict analysis ----
    uint32_t conflict = NO_REASON;   // the falsified clause found by propagate
    Lit conflict_binary[2] = {0, 0}; // its literals, when it is binary
    std::vector<uint8_t> seen;       // per variable: marked by analysis (0 unmarked)
    std::vector<Lit> learnt;         // the clause being learnt, asserting literal first
    std::vector<Lit> to_clear;       // literals whose variables analysis marked
    std::vector<Lit> stack;          // minimization's depth-first stack
    // With LRAT, what the hints of the learnt clause are made of:
    std::vector<Lit> resolved;       // the literals of the conflict's level whose reasons analysis resolved, newest first
    std::vector<int> root_met;       // the variables fixed at the root that analysis met (repeats possible)
    std::vector<Lit> removed;        // the literals minimization removed
    std::vector<uint64_t> level_stamp; // per decision level [0, nvars + assumptions]: last glue count that met it
    uint64_t stamp = 0;

    // ---- restarts and modes ----
    bool stable = false;             // stable mode (else focused)
    Ema lbd_fast{0.03};              // glue of recent learnt clauses
    Ema lbd_slow{1e-5};              // glue over a long stretch
    int64_t restart_conflicts = 0;   // conflicts at the last restart
    int64_t luby_index = 0;          // stable restarts: place in the reluctant doubling sequence
    int64_t next_stable_restart = 0; // conflicts at which the next stable restart is due
    int64_t mode_ticks = 0;          // ticks at which the next mode switch is due (0: by conflicts)
    int64_t mode_delta = 0;          // ticks of the first focused phase
    int64_t ticks = 0;               // effort: watch visits and clause visits

    // ---- reductions and root simplification ----
    int64_t next_reduce = 0;         // conflicts at which the next reduction is due
    int64_t simplified_fixed = -1;   // root-fixed variables at the last simplification
    int64_t next_simplify = 0;       // conflicts before which no simplification is due
    size_t units_in_proof = 0;       // trail prefix at level 0 written to the proof as units
    std::vector<Ref> candidates;     // reduce: clauses that may go

    // ---- inprocessing, each round within a share of the ticks since its last ----
    bool queue_enabled = false;      // the focused mode decides by the queue, else by the scores (it does not pay on the benchmarks)
    bool minimize_enabled = true;    // recursive minimization of learnt clauses
    bool stable_enabled = true;      // the stable mode in turn with the focused one
    bool rephase_enabled = true;     // rephasing
    bool probe_enabled = false;      // failed-literal probing (it does not pay on the benchmarks)
    int64_t next_probe = 0;          // conflicts at which the next probing round is due
    int64_t probe_ticks = 0;         // ticks at the end of the last probing round
    Lit probe_next = 0;              // the literal the next probing round begins with
    bool vivify_enabled = true;      // vivification of learnt clauses
    int64_t next_vivify = 0;         // conflicts at which the next vivification round is due
    int64_t vivify_ticks = 0;        // ticks at the end of the last vivification round
    bool subsume_enabled = false;    // subsumption and strengthening (it does not pay on the benchmarks)
    int64_t next_subsume = 0;        // conflicts at which the next subsumption round is due
    int64_t subsume_ticks = 0;       // ticks at the end of the last subsumption round
    bool eliminate_enabled = true;   // bounded variable elimination before each solve
    int64_t eliminated_at = 0;       // irredundant_added at the last elimination
    std::vector<uint8_t> eliminated; // per variable: eliminated, its clauses on the extension
    std::vector<Lit> extension;      // the eliminated clauses, each its witness literal first
    std::vector<size_t> extension_start; // per eliminated clause: its first literal in extension
    std::vector<ClauseId> extension_ids; // with LRAT, per eliminated clause: its ID (the proof keeps it)
    std::vector<std::vector<Ref>> occurs; // elimination: per literal, the long irredundant clauses holding it

    // ---- limits and callbacks ----
    Limits limits;
    int64_t limit_conflicts = INT64_MAX, limit_decisions = INT64_MAX, limit_propagations = INT64_MAX;
    std::function<bool()> terminate;
    std::function<void(const int *, int)> learn;
    int learn_max = 0;
    std::vector<int> learn_buffer;
    std::function<void(const Progress &)> progress;
    int64_t progress_period = 0, next_progress = 0;

    // ---- results ----
    std::vector<uint8_t> model;      // per variable after SAT: 1 true, 0 false
    Stats stats;
    std::unique_ptr<ProofWriter> proof;

    // ---- LRAT: clause IDs and the hints of the step being written ----
    bool lrat = false;                // the proof is LRAT: every clause held has an ID
    ClauseId next_input = 1;          // the ID of the next clause of the formula added
    ClauseId next_id = 0;             // the ID of the next clause derived (above every input's)
    std::vector<ClauseId> unit_ids;   // per variable fixed at the root: its unit clause, 0 none yet
    BinaryIds binary_ids;             // the binary clauses' IDs, by their two literals
    std::vector<ClauseId> hints;      // of the next proof_add
    std::vector<uint32_t> hint_met;   // per variable: the hint walk that met it last
    uint32_t hint_stamp = 0;
    // The walk's stack: a variable being set, its reason's literals and the next one to visit.
    struct HintFrame {
        int var;
        Lit other;          // a binary reason's other literal
        const Lit *lits;    // the reason's literals
        const Lit *end;
    };
    std::vector<HintFrame> hint_stack;
    void hint_push(int v);

    Clause &at(Ref ref) { return *reinterpret_cast<Clause *>(&arena[ref]); }
    const Clause &at(Ref ref) const { return *reinterpret_cast<const Clause *>(&arena[ref]); }
    int decision_level() const { return static_cast<int>(control.size()); }
    int8_t val(Lit lit) const { return vals[static_cast<size_t>(lit)]; }
    int fixed() const { return control.empty() ? static_cast<int>(trail.size()) : control[0]; }

    void assign(Lit lit, uint32_t why) {
        vals[static_cast<size_t>(lit)] = 1;
        vals[static_cast<size_t>(lit ^ 1)] = -1;
        const int v = var_of(lit);
        level[static_cast<size_t>(v)] = decision_level();
        reason[static_cast<size_t>(v)] = why;
        trail.push_back(lit);
    }

    // ---- variables and clause store, in 'clauses.cpp' ----
    void grow_vars(int n);
    void reserve_clauses(size_t clauses, size_t literals);
    // The clauses' ID arguments matter with an LRAT proof only.
    Ref new_clause(const Lit *lits, int size, bool learnt, uint32_t lbd, ClauseId id);
    void watch_clause(Ref ref);
    void add_binary(Lit a, Lit b, bool learnt, ClauseId id);
    void add_original(const std::vector<int> &dimacs);
    void add_clause(const std::vector<Lit> &lits, ClauseId id);
    void store_clause(const std::vector<Lit> &lits, bool learnt, uint32_t lbd, ClauseId id);
    bool locked(Ref ref) const;
    void mark_garbage(Ref ref);
    // A round that replaces clauses: ref goes at once, or with an LRAT proof
    // it is garbage now and leaves the proof with delete_retired at the
    // round's end, as until then it may be a reason in the round's hints.
    void retire(Ref ref, std::vector<Ref> &retired);
    void delete_retired(const std::vector<Ref> &retired);

    // ---- propagation and backtracking, in 'propagate.cpp' ----
    bool propagate(); // false on a conflict (in conflict)
    void backtrack(int to_level);
    void new_level() { control.push_back(static_cast<int>(trail.size())); }

    // ---- conflict analysis, in 'analyze.cpp' and 'minimize.cpp' ----
    void analyze();
    uint32_t glue(const Lit *lits, int size);
    void minimize();
    bool removable(Lit lit, uint32_t levels);
    void learn_clause();
    void learnt_hints();

    // ---- assumptions and failed cores, in 'assume.cpp' ----
    void keep_assumed_out_of_heap();
    Lit next_assumption(bool &failed_now);
    void analyze_failed(Lit lit);
    bool propagate_assumptions(const std::vector<Lit> &lits, std::vector<Lit> &set);

    // ---- scores, the queue, decisions and phases, in 'decide.cpp', 'queue.cpp' and 'phases.cpp' ----
    void heap_insert(int v);
    void heap_up(size_t i);
    void heap_down(size_t i);
    int heap_pop();
    void bump(int v);
    void decay();
    Lit decide_literal();
    void queue_enqueue(int v);
    void queue_dequeue(int v);
    void queue_unassigned(int v);
    void queue_bump();
    int queue_decide();
    void update_target_and_best();
    bool rephase_due() const;
    void rephase();

    // ---- restarts and modes, in 'restart.cpp' ----
    bool restart_due() const;
    void restart();
    void update_mode();

    // ---- reduction and the arena's collector, in 'reduce.cpp' and 'collect.cpp' ----
    bool reduce_due() const;
    void reduce();
    void collect();

    // ---- root-level simplification, in 'simplify.cpp' ----
    bool new_root_facts() const;
    bool simplify_due() const;
    void simplify();

    // ---- inprocessing, in 'probe.cpp', 'subsume.cpp' and 'vivify.cpp' ----
    bool probe_due() const;
    void probe();
    bool subsume_due() const;
    void subsume();
    bool vivify_due() const;
    void vivify();

    // ---- bounded variable elimination, in 'eliminate.cpp' and 'model.cpp' ----
    void eliminate();
    bool try_eliminate(int v);
    void remove_binaries_of(Lit lit);
    void extend_model();
    bool uses_eliminated(const int *dimacs, size_t size) const;
    void restore_eliminated();

    // ---- proof steps, in 'proof.cpp' ----
    // Adds the clause to the proof, with an LRAT proof under a fresh ID and
    // the hints in hints; returns the ID (0 without LRAT).
    ClauseId proof_add(const Lit *lits, size_t size);
    // Deletes the clause of that ID (its literals for DRAT).
    void proof_delete(const Lit *lits, size_t size, ClauseId id);
    void proof_delete_binary(Lit a, Lit b); // a binary clause held once less
    void proof_units();
    void proof_refutation(); // the empty clause, after a conflict at the root

    // ---- LRAT IDs and hints, in 'lrat.cpp' ----
    ClauseId clause_id(Ref ref) const {
        ClauseId id;
        std::memcpy(&id, &arena[ref - ID_WORDS], sizeof id);
        return id;
    }
    void set_clause_id(Ref ref, ClauseId id) { std::memcpy(&arena[ref - ID_WORDS], &id, sizeof id); }
    ClauseId binary_id(Lit a, Lit b) const { return binary_ids.find(BinaryIds::key(a, b)); }
    ClauseId reason_id(uint32_t why, Lit implied) const;
    void assign_unit(Lit lit, ClauseId id); // a root fact of its own unit clause
    // The hints of a clause whose literals' variables are marked (hint_mark
    // after hint_begin): asserting its negation, the trail's reasons make
    // the clause why (a long one, or a binary one with implied) falsified.
    void hint_begin();
    void hint_mark(Lit lit) { hint_met[static_cast<size_t>(var_of(lit))] = hint_stamp; }
    void hint_walk(uint32_t why, Lit implied);
    void hint_conflict(); // hint_walk from the conflict found by propagate
    void hint_visit(int v);
    // The hints of a clause shortened by its literals false at the root:
    // their unit clauses, then the clause of that ID.
    void hint_shortened(const Lit *lits, size_t size, ClauseId id);

    // ---- the search and the model, in 'search.cpp' and 'model.cpp' ----
    int solve();
    int search();
    bool stop_now() const;
    void report_progress();
    Progress snapshot() const;
    void save_model();
    bool model_satisfies_original() const;
};

} // namespace fast
} // namespace vetrix
