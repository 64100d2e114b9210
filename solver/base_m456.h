// The solver: the state of one solve (CHpGN56) and every solver function,
// grouped by the file that defines it. A conflict-driven tautology search
// over the negated formula.
//
// Every clause is held as a cube (the conjunction of its negated literals);
// the search decides whether the disjunction of the cubes is a tautology. A
// tautology means the CNF is unsatisfiable; an assignment that falsifies
// every cube is a model of the CNF.
//
// Vocabulary. A code c is *set* when is_set(lit_ind, c) (DERIVED or
// DECISION) and *free* when is_free(lit_ind, c). Setting c makes the input
// literal of c false. A cube is *all set* (a conflict) when every code in it
// is set, and *falsified* when one of its codes has its complement set. A
// free code whose complement is set is *false*; a cube with all codes set but
// one free, non-false code is *unit* and forces the complement of that code.
//
// Glossary of the word stems in the inherited names (the names stay; the
// stems say what they mean):
//   B456, 456, B3, L, R, m, _rs  version marks of the names, no meaning
//   CHpGN56      the class of the state of one solve
//   Taut         tautology: TautB456_rs runs one search pass towards it
//   Substitut, subst  setting codes and propagating: SubstitutionB3L sets a
//                decision, SubstitutR the newest cube's forced code,
//                subst_lit one code with a walk of its watch list
//   sublit       the code a unit cube forces (get_sublit)
//   recipe       a learnt cube: derived by conflict analysis, included as
//                the newest cube of the base
//   incl_lefttr  inclusion of the recipe once the conflict level is left;
//                change_tr puts the branch's decisions in its place
//   recove       recover, i.e. undo: free a level's codes (recove_state),
//                the root's (recove_state0), the node pool (recove_dirki)
//   resert       rescaling of the variable activities
//   ves          weight: the number of cubes a code would make unit
//                (get_lit_ves); ves2: the cube turns unit once the given
//                guard is set
//   ud / neud    falsified / not falsified (the input clause is satisfied
//                or not yet)
//   dirki        "holes": the stack of free nodes of the node pool
//   rs1m / rs2m  the review after codes were fixed at the root (simplifies
//                every cube by them) / the review of the learnt cubes only
//   stack_lia, va2, stat  strategies 0 (learnt cubes newest first),
//                1 (variable activity), 2 (static order)
//   lev          decision level; lev_lit its decision, lim_lev_0 the pass
//                limit on codes set at level 0, no_lev "never set"
//   der_lit      derived (set) codes, the trail; index_der its top
//   queu         the propagation queue of unit cubes
//   guard        a watched code: every cube has two, guard_0 and guard_1;
//                guard_list[c] is the watch list of c
//   cub          cube: cub_set the tail store, cub_data_pnt a tail's start,
//                cub_gen the analyses a cube took part in
//   ac, keyac, accum  analysis stamps per code, the current stamp, and
//                their clearing (set_accum)
//   e_chain      per implication depth, the chain of the conflict level's
//                pending codes in analysis
//   lit_u, lit_ul, lit_ind, lit_n  per code: level, implication depth within
//                the level, assignment state, reason cube
//   irred        irredundant: the cubes a review keeps
//   saved_rang   the tail lengths ("ranks") under which reviews keep
//                learnt cubes
//   form_solution, IsCorrect  record the model, check it
// Three meanings of "set": (1) a code is *set* when it is assigned (above);
// (2) `set` is the node pool of conflict analysis; (3) the prefix set_ means
// (re)initialise: set_dirki456 builds the node pool, set_chain456 empties
// the chains, set_accum456 clears the stamps.
//
// Cube base. Cube i has two guards guard_0[i], guard_1[i] (its watched codes;
// guard_1 is NONE for a cube of one code) and a tail of the remaining codes in
// cub_set[cub_data_pnt[i] .. cub_data_pnt[i+1]). Tails are contiguous in cube
// order. guard_list[c] lists the cubes in which c is a guard. Input cubes come
// first, learnt cubes (recipes) follow. A cube's guards and tail start live
// side by side in one record (CubeRecord); guard_0, guard_1 and cub_data_pnt
// read the records as per-cube arrays.
//
// Every order below (watch-list order and swap-with-last removal, queue order,
// chain order in analysis, tie-breaks, tail sort, review rebuild order)
// decides which model is printed, so none of them may change.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "solver/control.h"
#include "solver/engine.h"
#include "solver/stats.h"
#include "support/formula.h"
#include "support/literal.h"
#include "vetrix/verdict.h"
#include "support/my_carray.h"

namespace vetrix {

constexpr int NONE = -1; // no literal, no candidate, end of a pass

// Assignment states of a code, held in lit_ind. A byte per code keeps the
// table a quarter of an int table's size: the watch-list walks read it for
// every tail code they test, so fewer cache lines hold it.
using CodeState = std::int8_t;
constexpr CodeState FREE = -1;    // not set
constexpr CodeState DERIVED = 2;  // set by propagation: a unit cube forced it
constexpr CodeState DECISION = 3; // set as the decision of its level

// True when code c is set (derived or decided) under the states ind.
constexpr bool is_set(const CodeState *ind, int c) { return ind[c] > 1; }
// True when code c is free under the states ind.
constexpr bool is_free(const CodeState *ind, int c) { return ind[c] == FREE; }
// True when both codes of 0-based variable v are free.
constexpr bool var_free(const CodeState *ind, int v) {
    return is_free(ind, positive_code(v)) && is_free(ind, negative_code(v));
}

// Model values, per variable in var_activity_old once a model is recorded.
constexpr int MODEL_TRUE = 0;
constexpr int MODEL_FALSE = 1;
constexpr int MODEL_FREE = 2; // either value satisfies the formula

// The node pool of conflict analysis: node k is set[2k], the link to the
// next node of its chain, and set[2k+1], a code. Node 0 is the sentinel whose
// link CHAIN_END ends every chain.
constexpr int CHAIN_END = -1;

// Solve results held in CHpGN56::result.
constexpr int RESULT_SAT = 0;
constexpr int RESULT_UNSAT = 1;
constexpr int RESULT_UNDECIDED = 2;
constexpr int RESULT_FAILED = 3; // unsatisfiable under the call's assumptions (incremental solving)

// Fixed capacities beyond the formula's size.
constexpr int SPARE_CUBES = 300000;       // cube slots for recipes
constexpr int ARENA_EXTRA = 24000000;     // tail-store codes beyond one per clause
constexpr int TAIL_WINDOW = 4;            // tail codes the watch-list walk tests at once
constexpr int QUEUE_EXTRA = 20001;        // queue entries beyond one per code
constexpr int PASS_RECIPE_LIMIT = 550;    // a pass stops after more recipes than this

// The table of code states.
using StateArray = MyCArray<CodeState, CodeState &>;
// A table of unsigned ints (the analysis stamps).
using UIntArray = MyCArray<unsigned int, unsigned int &>;

// Everything a watch-list visit reads of a cube but its tail codes, in 12
// bytes: the guard test, the falsified test and the tail bounds (this
// record's tail and the next one's) usually cost one cache line. Records are
// indexed by cube; record nb_cub holds only the end of the last tail. The
// analysis count stays in its own table: input cubes that never take part in
// an analysis leave its pages untouched, which keeps resident memory down.
struct CubeRecord {
    int guard_0; // first guard
    int guard_1; // second guard, NONE for a cube of one code
    int tail;    // offset of the tail in cub_set; the next record's tail ends it
};
// The cube records, per cube [0, max_nb_cub].
using CubeArray = MyCArray<CubeRecord, CubeRecord &>;

// A decision-heap entry: a variable's activity in the high 32 bits, the
// variable in the low 32 bits. Comparing two entries compares (activity,
// index) without reading the activity table.
using OrderKey = long long;
using OrderKeyArray = MyCArray<OrderKey, OrderKey &>;

// A propagation-queue entry: a cube that became unit and the code it forced
// then (a hint for prefetching the code's watch list; the walk of the queue
// finds the code again from the cube).
struct QueueEntry {
    int cube;
    int code;
};
using QueueArray = MyCArray<QueueEntry, QueueEntry &>;

// One field of the cube records read as a per-cube array: f[i] is the field
// of cube i.
template <int CubeRecord::*Field> class CubeField {
  public:
    CubeRecord *records = nullptr;
    int &operator[](int i) const { return records[i].*Field; }
};

// The whole state of one solve: built by the constructor, loaded by
// load_cube_base, searched and reviewed by the pass loop, destroyed at the
// end of solve_formula. Every group of fields below is headed by the file
// that writes it.
class CHpGN56 {
  public:
    // Sizes every table for the formula's cube count, nb_var variables and
    // the branching strategy; the cubes themselves are loaded by set-up.
    CHpGN56(const Formula &formula, int nb_var, int strategy);
    CHpGN56(const CHpGN56 &) = delete;
    CHpGN56 &operator=(const CHpGN56 &) = delete;

    // ---- the run: sizes and strategy from 'state.cpp', result from 'search.cpp' and 'review.cpp' ----
    int nb_var;          // number of variables n
    int nb_lit;          // number of codes 2n
    int no_lev;          // n + 1: lit_u of a code never set
    int strategy;        // branching rule 0, 1 or 2
    int result;          // RESULT_SAT / RESULT_UNSAT / RESULT_UNDECIDED
    const SolveControl *control; // proof output and stop conditions, or none

    // ---- trail and levels: 'propagate.cpp' sets codes, 'search.cpp' undoes them ----
    int lev;                    // current decision level; -1 between passes
    IntArray lit_u_arr;         // storage of lit_u
    IntArray lit_ul_arr;        // storage of lit_ul
    StateArray lit_ind_arr;     // storage of lit_ind
    IntArray lit_n_arr;         // storage of lit_n
    IntArray der_lit_arr;       // storage of der_lit, n + 1 entries (set-up sizes it)
    int index_der;              // index of the trail's last entry, -1 when empty
    IntArray index_der_lev;     // per level [0, n+1]: index_der when it descended
    IntArray der_lit_lev_0_arr; // storage of der_lit_lev_0, n + 2 entries
    int nb_der_lit_lev_0;       // entries of der_lit_lev_0
    int nb_fixed_released;      // level-0 codes the reviews took out of der_lit_lev_0
    IntArray lev_lit;           // per level [0, n]: its decision code
    IntArray frame_code;        // per open level [0, n+1]: its decision code (NONE at the root)
    long long nb_node;          // levels opened above the root in the whole solve;
                                // 64-bit so that very long runs cannot overflow it

    // ---- cube base and watch lists: built by 'setup.cpp', grown by
    //      'inclusion.cpp', compacted by 'review.cpp' ----
    int nb_cub;          // cubes in the base, input and learnt
    int nb_cub_start;    // cubes handed to the solver; never changes
    int nb_cub_orig;     // input cubes still held = index of first learnt cube
    CubeArray cube_arr;  // storage of cubes
    IntArray cub_set_arr; // storage of cub_set, m + 24,000,000 codes and a window's slack
    IntArrays guard_list; // per code [0, 2n): watch list of cube indices
    IntArray cub_gen_arr; // storage of cub_gen
    IntArray lit_activity_arr; // storage of lit_activity
    int back_lev;        // backjump level named by the last inclusion

    // ---- propagation queue: 'propagate.cpp' ----
    QueueArray queu_arr; // the queue's entries, grown as it is used up to
                         // 2n + 20001 (limit_queu_pnt + 1) entries
    int top_queu_pnt;    // one past the last queued entry

    // ---- conflict analysis: 'analyze.cpp' ----
    int cub_confl;       // the all-set cube handed to conflict analysis
    IntArray recipe_arr; // storage of recipe, n codes
    int recipe_size;     // entries of recipe
    UIntArray ac_arr;    // storage of ac
    unsigned int keyac;  // current analysis stamp; lowest bit breaks strategy-1 ties
    IntArray e_chain_arr; // storage of e_chain
    IntArray set_arr;    // storage of set
    IntArray dirki_arr;  // storage of dirki
    int dir_pnt;         // index of the free-node stack's top entry

    // ---- decision order: 'order.cpp', kept in step with assignment and activities ----
    // Strategy 1's choice (largest activity among free variables, ties to the
    // highest-numbered) comes from a max-heap instead of a scan of all
    // variables; strategy 2's (the lowest free variable) from a cursor.
    IntArray var_activity_arr; // storage of var_activity_old
    int max_activity;    // largest var activity since the last rescale
    int activity_limit;  // rescale when max_activity exceeds this
    bool order_heap_on;  // the heap is maintained (strategies 0 and 1)
    OrderKeyArray heap_arr; // heap of variables' keys; holds at least every free one
    IntArray heap_pos;   // per var: its index in the heap, -1 when absent
    int heap_size;       // entries of heap_arr in use
    int lowest_free;     // strategy 2: no variable below this is free
    int cub_stack_top;   // 'branch.cpp': scan position of strategy 0 over learnt cubes

    // ---- reviews between passes: 'review.cpp', limits checked by 'search.cpp' ----
    bool restart;        // the pass stopped at a limit; cleared by reviews
    int lim_lev_0;       // a pass stops with more level-0 codes than this
    int base_begin;      // first cube the next review may delete
    int nb_cub_rev;      // nb_cub right after the last review
    int nb_recipe_rev;   // recipes included since the last review
    int saved_rang;      // tail-length bound of the review filter (rule A)
    int saved_rang_2;    // looser tail-length bound (rule B)
    int min_saved_rang;  // lower bound of saved_rang, from the shortest input cube
    IntArray irred_arr;  // storage of irred
    int irred_size;      // entries of irred

    // ---- incremental solving: 'assume.cpp' decides the assumptions, 'grow.cpp'
    //      makes room for variables and clauses added between calls ----
    bool grows;          // capacities grow instead of ending the run (an incremental solver)
    const int *assumed;  // the call's assumptions as the codes that make them true, or none
    int nb_assumed;      // entries of assumed
    IntArray assumed_after_arr; // per level [0, n+1]: assumptions handled up to that level's decision
    std::vector<int> failed_assumed; // after RESULT_FAILED: the indices into assumed the refutation used
    bool warm;           // the strategy's decisions take their polarity from the last model
    IntArray model_arr;  // an incremental solver's model, in place of var_activity_old

    // ---- statistics and diagnostics: 'inclusion.cpp', 'report.cpp', 'dumps.cpp' ----
    IntArray recipe_len_nb;  // per recipe length [0, n]: recipes of that length
    IntArray recipe_len_lev; // per recipe length [0, n]: sum of their levels
    std::string info;        // diagnostic text (a failed model check's cube), never printed
    IntArray test_sol;       // per var: 0 true, 1 false; read only by test_cube456
    SolveStats stats;        // counters of the whole solve, never read by the search
    SolveControl::Clock::time_point progress_told; // 'progress.cpp': when the caller last heard

    // ---- views into the storage, fixed for the whole solve ----
    // Set by the constructor (der_lit by set-up); the hot loops index these
    // plain arrays. None of the aliased arrays is resized while they are used.
    int max_nb_cub;       // capacity of cube indices: m + 300000
    CubeRecord *cubes;    // per cube [0, max_nb_cub]: the records
    CubeField<&CubeRecord::guard_0> guard_0;   // per cube: first guard
    CubeField<&CubeRecord::guard_1> guard_1;   // per cube: second guard, NONE for one code
    CubeField<&CubeRecord::tail> cub_data_pnt; // per cube: offset of its tail in cub_set
    int *cub_set;         // tail store: the codes of the cubes beyond their guards
    int max_cub_data_pnt; // offset of the last usable tail-store slot
    int *cub_gen;         // per cube: analyses it took part in; 0 for a new recipe
    int *lit_u;           // per code [0, 2n): level at which it was last set
    int *lit_ul;          // per code: implication depth within its level (0 for a decision)
    CodeState *lit_ind;   // per code: FREE, DERIVED or DECISION
    int *lit_n;           // per code: reason cube of a derived code
    int *der_lit;         // trail of codes set above level 0, in the order set
    int *der_lit_lev_0;   // codes set at level 0, in order
    int limit_queu_pnt;   // index of the queue's last slot
    int *recipe;          // codes of the recipe being built
    unsigned int *ac;     // per code: stamp of the last analysis that met it
    int *e_chain;         // per depth [0, n]: first node of its chain (node 0 is the sentinel)
    int *set;             // node pool, n + 2 nodes: set[2k] link, set[2k+1] code; link -1 ends
    int *dirki;           // stack of free nodes, n + 1 entries
    int *var_activity_old; // per var: activity; once a model is found, the model
    int *model_values;    // per var: where the model is recorded: var_activity_old, or
                          // model_arr for an incremental solver, whose activities live on
    int *lit_activity;    // per code: recipes the code entered
    int *irred;           // indices of the cubes a review keeps
};


// True when the input literal of code c is true under per-variable values
// (0 true, 1 false, 2 free: a free variable makes no literal true).
inline bool code_true(const int *values, int c) {
    const int value = values[lit_var(c)];
    return (value == MODEL_TRUE && !code_negative(c)) || (value == MODEL_FALSE && code_negative(c));
}

// Visits the codes of cube i in cube order: the tail in storage order, then
// guard_0, then guard_1 unless it is NONE.
template <class Visit> inline void for_cube_codes(const CHpGN56 &s, int i, Visit visit) {
    for (int k = s.cub_data_pnt[i], e = s.cub_data_pnt[i + 1]; k < e; ++k)
        visit(s.cub_set[k]);
    visit(s.guard_0[i]);
    if (s.guard_1[i] != NONE)
        visit(s.guard_1[i]);
}

// The index of the first free code of tails[k .. e), or e when every one is
// set. The codes are tested a window at a time, without a branch inside the
// window: where the first free code lies is hard to predict, whether it lies
// in the first window much less so. A window may read up to TAIL_WINDOW - 1
// codes past e, within the tail store's slack; they are never used.
inline int first_free_code(const int *tails, const CodeState *ind, int k, int e) {
    for (; k < e; k += TAIL_WINDOW) {
        unsigned free = 0;
        for (int j = 0; j < TAIL_WINDOW; ++j)
            free |= static_cast<unsigned>(is_free(ind, tails[k + j])) << j;
        const int within = e - k < TAIL_WINDOW ? e - k : TAIL_WINDOW;
        free &= (1u << within) - 1; // nothing past the tail's end
        if (free != 0)
            return k + __builtin_ctz(free);
    }
    return e;
}

// ---- State in 'state.cpp' ----
// Records the assignment as the model in var_activity_old (MODEL_TRUE,
// MODEL_FALSE, MODEL_FREE).
void form_solutionB3_456(CHpGN56 &s);

// ---- Decision order in 'order.cpp' ----
void order_init(CHpGN56 &s);             // builds the heap (or the cursor) after set-up
void order_bumped(CHpGN56 &s, int v);    // v's activity rose
void order_insert(CHpGN56 &s, int v);    // v enters the heap
void order_rescaled(CHpGN56 &s);         // every activity changed
void order_grown(CHpGN56 &s, int old_n); // variables old_n .. nb_var-1 are new
int order_most_active_free(CHpGN56 &s);  // the variable, or NONE
// Divides every activity by 4 and rebuilds the heap.
void resert_var_activityB456(CHpGN56 &s);

// v became free again. Inline: the undo of a level calls it for every code.
inline void order_freed(CHpGN56 &s, int v) {
    if (v < s.lowest_free)
        s.lowest_free = v;
    if (s.order_heap_on && s.heap_pos.data[v] < 0)
        order_insert(s, v);
}

// ---- Incremental growth in 'grow.cpp' ----
// Makes the state an incremental solver's: capacities grow from now on.
void make_growable(CHpGN56 &s);
// Widens every per-variable and per-code table to n variables (n > nb_var);
// the new variables are free and enter the decision order.
void grow_variables(CHpGN56 &s, int n);
// Room for cubes more cubes holding tail_codes more tail codes.
void reserve_cubes(CHpGN56 &s, int cubes, long long tail_codes);
// Adds the formula's clauses as input cubes, between the input cubes held
// and the learnt ones; between calls, at the root. Codes set at the root are
// left out and a clause with a true literal at the root is not kept. False
// when a clause has every literal false at the root: the formula is refuted.
// Clause i's ID in an LRAT proof is line_base + its line.
bool add_input_cubes(CHpGN56 &s, const Formula &formula, long long line_base);
// Frees every code set above the root: the end of a call that was stopped
// in the middle of a pass.
void undo_to_root(CHpGN56 &s);

// ---- Decisions of an incremental call in 'assume.cpp' ----
// The decision of the level just opened: the first assumption of the call
// not yet true, else the strategy's choice (NONE when every variable is
// set), in the last model's polarity when the call starts warm. An
// assumption found false ends the call: result RESULT_FAILED, the failed
// assumptions recorded, NONE.
int decide_in_call(CHpGN56 &s);

// ---- Set-up in 'setup.cpp' ----
// Builds the node pool: the sentinel, every node free, every chain empty.
void set_dirki456(CHpGN56 &s);
// Loads the formula's clauses (consumed) as the cube base and its watch lists.
void init_B456(Formula &formula, CHpGN56 &s);
// Both of the above: makes a freshly built state ready for the first pass.
void load_cube_base(Formula &formula, CHpGN56 &s);
// The same from a formula that other solves read at the same time: it is
// only read, and stays whole.
void load_cube_base_shared(const Formula &formula, CHpGN56 &s);

// ---- Propagation in 'propagate.cpp' ----
// Sets decision lit at the current level and propagates; true on a conflict.
bool SubstitutionB3L_B456_rs(int &lit, CHpGN56 &s);
// Propagates the newest cube (the recipe just included); true on a conflict.
bool SubstitutR456_rs(CHpGN56 &s);
// Sets the code unit cube i forces at level; returns it, or NONE when the
// cube was falsified meanwhile.
int get_sublit_B456(int i, int level, CHpGN56 &s);
// Records set code lit on the trail and walks its watch list, queueing unit
// cubes; true on a conflict (analysed at once).
bool subst_litB456(int lit, CHpGN56 &s);

// ---- Conflict analysis in 'analyze.cpp' ----
// Derives the recipe of the all-set cube cub_confl into recipe.
void find_recipe_m_B456_rs(CHpGN56 &s);
// Clears every analysis stamp; keyac starts again at 1.
void set_accum456(CHpGN56 &s);
// Empties the chains of depths below d and returns every node to the pool.
void recove_dirki456(int d, CHpGN56 &s);
// Empties the chains of depths below n.
void set_chain456(int n, CHpGN56 &s);

// ---- Recipe inclusion in 'inclusion.cpp' ----
// Includes the recipe as the newest cube, guards chosen so that it is unit
// at back_lev, which it sets; lit is the decision of the level left. True.
bool incl_lefttrB456_rs(int lit, CHpGN56 &s);
// Replaces the recipe by the branch's decisions, lit last.
void change_tr456(int lit, CHpGN56 &s);
// Counts a recipe of length n learnt at the current level.
void statistic_recipe456(int n, CHpGN56 &s);

// ---- Branching in 'branch.cpp' ----
// Strategy 0: the most active code of the newest learnt cube not falsified,
// in the polarity fewer recipes entered; strategy 1 when there is none.
int choice_stack_lia_456(CHpGN56 &s);
// Strategy 1: the most active free variable, in the polarity that forces more.
int choice_va2_456(CHpGN56 &s);
// Strategy 2: the even code of the lowest free variable, or NONE.
int choice_stat456(CHpGN56 &s);
// The code the state's strategy decides next, or NONE when every variable is set.
int choose_decision(CHpGN56 &s);
// The weight of code: cubes it makes unit plus those their forced codes make
// unit, counting stops past 100.
int get_lit_ves_456(int code, CHpGN56 &s);
// True when cube (watched by code) turns unit once code is set and is not
// falsified; other receives its other guard.
bool is_ves2_and_neud456(int cube, int code, int &other, CHpGN56 &s);
// The same test without the other guard.
bool is_ves2_and_neud456(int cube, int code, CHpGN56 &s);
// True when cube is falsified: the complement of one of its codes is set.
bool is_ud456(int cube, CHpGN56 &s);

// ---- Search in 'search.cpp' ----
// Runs one search pass from the root; returns NONE. result tells a verdict,
// restart a stop at a pass limit.
int TautB456_rs(CHpGN56 &s);
// Frees the codes set at the current level (its trail entries).
void recove_stateB456_rs(CHpGN56 &s);

// ---- Reviews in 'review.cpp' ----
// Review after codes were fixed at the root: deletes weak recipes, drops
// falsified cubes, removes root codes from every cube, rebuilds the lists.
void base_reviewB456_rs1m(CHpGN56 &s);
// Review with nothing fixed at the root: deletes weak recipes from
// base_begin on and compacts them.
void base_reviewB456_rs2m(CHpGN56 &s);
// Keeps in code's watch list only the cubes below base_begin.
void remove_more_then_base_begin_in_guard_in_i_456(int code, CHpGN56 &s);

// ---- Proof steps in 'proof_steps.cpp' (each does nothing without a proof) ----
// True when a proof is written; loops over every cube test it once instead of
// calling a step per cube.
inline bool writes_proof(const CHpGN56 &s) { return s.control && s.control->proof; }
void proof_begin(CHpGN56 &s, const Formula &formula); // formula's clauses are about to be loaded
// ... as the first call of an incremental solver: the IDs of added clauses
// begin above every ID an input clause added by a later call can take.
void proof_begin_calls(CHpGN56 &s, const Formula &formula);
void proof_codes_grown(CHpGN56 &s);           // the variables grew between calls
void proof_add_cube(CHpGN56 &s, int i);       // cube i was just included
void proof_delete_cube(CHpGN56 &s, int i);    // cube i leaves the base
void proof_root_unit(CHpGN56 &s, int code);   // code is set at the root for good
// An input clause added between calls, [begin, end) with ID id, is held as
// kept, its codes set at the root left out; returns the ID of the clause
// held (the shortened one's in an LRAT proof). Kept empty: the formula is
// refuted, the empty clause is left for proof_finish.
long long proof_input_shortened(CHpGN56 &s, const int *begin, const int *end, const std::vector<int> &kept,
                                long long id);
// The unit clause of code, with ID id, was added while its complement's unit
// clause is held (as a cube, or as the fact set at the root): refuted.
void proof_unit_pair_refutes(CHpGN56 &s, int code, long long id);
// The input cubes [from, from + ids.size()) were placed before the learnt
// ones, which moved up: their IDs.
void proof_input_cubes_placed(CHpGN56 &s, int from, const std::vector<long long> &ids);
void proof_hold_cube(CHpGN56 &s, int i);      // cube i is about to be rewritten
void proof_held_rewritten(CHpGN56 &s, int j); // ... as cube j, without its root codes
void proof_held_dropped(CHpGN56 &s);          // ... or left the base
void proof_held_refutes(CHpGN56 &s);          // ... or has every code set at the root
// Refuted before any search; formula's line k has ID line_base + k.
void proof_refuted_at_once(const SolveControl *control, const Formula &formula, long long line_base = 0);
void proof_finish_search(CHpGN56 &s);         // proof_finish after the search's last pass
void proof_finish(const SolveControl *control, bool unsat); // empty clause if unsat, flush

// ---- Progress reports in 'progress.cpp' (each does nothing without a callback) ----
// A check is due every PROGRESS_CONFLICTS conflicts within a pass.
constexpr std::uint64_t PROGRESS_CONFLICTS = 64;
// After a pass and its review: tells the caller when a report is due.
void progress_between_passes(CHpGN56 &s);
// At a conflict once the level is undone and the recipe included: the same.
void progress_within_pass(CHpGN56 &s);
inline void progress_at_conflict(CHpGN56 &s) {
    if (s.stats.conflicts % PROGRESS_CONFLICTS == 0 && s.control && s.control->progress)
        progress_within_pass(s);
}
// The search has ended: the last call, with the final counters.
void progress_at_end(CHpGN56 &s);
// The last call of a solve decided before any search (no state).
void progress_without_search(const SolveControl *control);

// ---- Pass loop in 'passes.cpp' ----
// Runs passes with a review after each stopped one until the run is
// decided; returns what the last pass returned.
int run_passes(CHpGN56 &s);
// Frees the codes set at level 0.
void recove_state0_B456(CHpGN56 &s);
// One call of an incremental solver on its loaded state, under the
// assumptions the state names: the pass loop, from and back to the root.
// The result tells the answer: RESULT_SAT (model_values), RESULT_FAILED
// (failed_assumed), RESULT_UNSAT (for good) or RESULT_UNDECIDED (stopped).
void search_call(CHpGN56 &s, const SolveControl *control);

// ---- Model check and verdict in 'report.cpp' ----
// True when the model satisfies every cube held (the clauses after the
// reviews); else records the first failing cube in info.
bool IsCorrect456_rs(CHpGN56 &s);
// Appends cube i's codes (tail, guard_0, guard_1) to info.
void cub_info_out456(int i, CHpGN56 &s);
// When the result is satisfiable and the model passes the check above:
// the model as the verdict lines print it (per var v = 1..n, +v or -v), true.
bool checked_model(CHpGN56 &s, std::vector<int> &model);
// The verdict of the state's result; a satisfiable one, whose model passed
// the check, also fills model.
Verdict checked_verdict(CHpGN56 &s, std::vector<int> &model);

} // namespace vetrix
