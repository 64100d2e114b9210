// The solver: a conflict-driven tautology search over the negated formula.
//
// Every clause is held as a cube (the conjunction of its negated literals);
// the search decides whether the disjunction of the cubes is a tautology. A
// tautology means the CNF is unsatisfiable; an assignment that falsifies
// every cube is a model of the CNF.
//
// Vocabulary. A code c is *set* when lit_ind[c] > 1 (2 derived, 3 decision)
// and *free* when lit_ind[c] == -1. Setting c makes the input literal of c
// false. A cube is *all set* (a conflict) when every code in it is set, and
// *falsified* when one of its codes has its complement set. A free code whose
// complement is set is *false*; a cube with all codes set but one free,
// non-false code is *unit* and forces the complement of that code.
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

#include <string>
#include <vector>

#include "solver/control.h"
#include "solver/stats.h"
#include "support/formula.h"
#include "support/literal.h"
#include "support/my_carray.h"

constexpr int NONE = -1; // no literal, no candidate, end of a pass

// Solve results held in CHpGN56::result.
constexpr int RESULT_SAT = 0;
constexpr int RESULT_UNSAT = 1;
constexpr int RESULT_UNDECIDED = 2;

// Fixed capacities beyond the formula's size.
constexpr int SPARE_CUBES = 300000;       // cube slots for recipes
constexpr int ARENA_EXTRA = 24000000;     // tail-store codes beyond one per clause
constexpr int QUEUE_EXTRA = 20001;        // queue entries beyond one per code
constexpr int PASS_RECIPE_LIMIT = 550;    // a pass stops after more recipes than this

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
using CubeArray = MyCArray<CubeRecord, CubeRecord &>;

// One field of the cube records read as a per-cube array: f[i] is the field
// of cube i.
template <int CubeRecord::*Field> class CubeField {
  public:
    CubeRecord *records = nullptr;
    int &operator[](int i) const { return records[i].*Field; }
};

class CHpGN56 {
  public:
    CHpGN56(const Formula &formula, int nb_var, int strategy);
    CHpGN56(const CHpGN56 &) = delete;
    CHpGN56 &operator=(const CHpGN56 &) = delete;

    // ---- scalars of the search ----
    int nb_var;          // number of variables n
    int nb_lit;          // number of codes 2n
    int nb_cub;          // cubes in the base, input and learnt
    int lev;             // current decision level; -1 between passes
    int nb_var1;         // n + 1
    int nb_cub_rev;      // nb_cub right after the last review
    int no_lev;          // n + 1: lit_u of a code never set
    int result;          // RESULT_SAT / RESULT_UNSAT / RESULT_UNDECIDED
    int strategy;        // branching rule 0, 1 or 2
    bool restart;        // the pass stopped at a limit; cleared by reviews
    int lim_lev_0;       // a pass stops with more level-0 codes than this
    int nb_cub_start;    // cubes handed to the solver; never changes
    int base_begin;      // first cube the next review may delete
    int nb_cub_orig;     // input cubes still held = index of first learnt cube
    int nb_recipe_rev;   // recipes included since the last review
    int saved_rang;      // tail-length bound of the review filter (rule A)
    int saved_rang_2;    // looser tail-length bound (rule B)
    IntArray lev_lit;    // per level [0, n]: its decision code
    int max_activity;    // largest var activity since the last rescale
    int activity_limit;  // rescale when max_activity exceeds this
    IntArray recipe_len_nb;  // per recipe length [0, n]: recipes of that length
    IntArray recipe_len_lev; // per recipe length [0, n]: sum of their levels
    std::string info;        // diagnostic text, never printed
    long long nb_node;       // levels opened above the root in the whole solve;
                             // 64-bit so that very long runs cannot overflow it
    int back_lev;            // backjump level named by the last inclusion
    int cub_confl;           // the all-set cube handed to conflict analysis
    int cub_stack_top;       // scan position of strategy 0 over learnt cubes

    // ---- storage (owned) ----
    IntArray recipe_arr;        // [0, n): the recipe being built
    IntArray test_sol;          // per var: 0 true, 1 false; read by test_cube456
    IntArray cub_set_arr;       // tail store, m + 24,000,000 codes
    CubeArray cube_arr;         // per cube [0, max_nb_cub]: its record
    IntArray cub_gen_arr;       // per cube: analyses it took part in
    IntArrays guard_list;       // per code [0, 2n): watch list of cube indices
    UIntArray ac_arr;           // per code: analysis stamp
    IntArray lit_activity_arr;  // per code: recipes the code entered
    IntArray var_activity_arr;  // per var: activity, later the model
    IntArray queu_arr;          // propagation queue, 2n + 20001 cube indices
    IntArray lit_u_arr;         // per code: level at which it was last set
    IntArray lit_ul_arr;        // per code: implication depth within its level
    IntArray lit_ind_arr;       // per code: -1 free, 2 derived, 3 decision
    IntArray lit_n_arr;         // per code: reason cube of a derived code
    IntArray e_chain_arr;       // per depth [0, n]: first node of its chain
    IntArray set_arr;           // node pool, n + 2 nodes of (link, code)
    IntArray dirki_arr;         // stack of free nodes, n + 1 entries
    IntArray der_lit_arr;       // trail of codes set above level 0 (set-up sizes it)
    IntArray index_der_lev;     // per level [0, n+1]: index_der when it descended
    IntArray der_lit_lev_0_arr; // codes set at level 0, in order
    IntArray irred_arr;         // per cube: indices a review keeps
    IntArray frame_code;        // per open level [0, n+1]: its decision code (NONE at the root)

    // ---- views into the storage, fixed for the whole solve ----
    int max_nb_cub;       // capacity of cube indices: m + 300000
    CubeRecord *cubes;    // per cube [0, max_nb_cub]: the records
    CubeField<&CubeRecord::guard_0> guard_0;   // per cube
    CubeField<&CubeRecord::guard_1> guard_1;   // per cube
    CubeField<&CubeRecord::tail> cub_data_pnt; // per cube: offset of its tail in cub_set
    unsigned int *ac;     // per code
    unsigned int keyac;   // current analysis stamp; lowest bit breaks strategy-1 ties
    int *der_lit_lev_0;   // codes set at level 0
    int nb_der_lit_lev_0; // entries of der_lit_lev_0
    int *e_chain;         // per depth: first node (node 0 is the sentinel)
    int *set;             // node k: set[2k] link, set[2k+1] code; link -1 ends
    int *dirki;           // free-node stack
    int dir_pnt;          // index of the free-node stack's top entry
    int *cub_set;         // tail store
    int *cub_gen;         // per cube
    int max_cub_data_pnt; // offset of the last usable tail-store slot
    int *lit_u;           // per code
    int *lit_ul;          // per code
    int *lit_ind;         // per code
    int *lit_n;           // per code
    int *var_activity_old; // per var
    int *lit_activity;    // per code
    int *queu;            // propagation queue
    int top_queu_pnt;     // one past the last queued entry
    int limit_queu_pnt;   // index of the queue's last slot
    int *der_lit;         // trail
    int index_der;        // index of the trail's last entry, -1 when empty
    int min_saved_rang;   // lower bound of saved_rang
    int *recipe;          // codes of the recipe being built
    int recipe_size;      // entries of recipe
    int *irred;           // indices a review keeps
    int irred_size;       // entries of irred

    // ---- decision order, kept in step with assignment and activities ----
    // Strategy 1's choice (largest activity among free variables, ties to the
    // highest-numbered) comes from a binary max-heap instead of a scan of all
    // variables; strategy 2's (the lowest free variable) from a cursor.
    bool order_heap_on;  // the heap is maintained (strategies 0 and 1)
    IntArray heap_arr;   // heap of variables; holds at least every free one
    IntArray heap_pos;   // per var: its index in the heap, -1 when absent
    int heap_size;       // entries of heap_arr in use
    int lowest_free;     // strategy 2: no variable below this is free

    SolveStats stats; // counters of the whole solve, never read by the search
    const SolveControl *control; // proof output and stop conditions, or none
};


// True when the input literal of code c is true under per-variable values
// (0 true, 1 false, 2 free: a free variable makes no literal true).
inline bool code_true(const int *values, int c) {
    const int value = values[lit_var(c)];
    return (value == 0 && (c & 1) == 0) || (value == 1 && (c & 1) == 1);
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

// ---- State in 'state.cpp' ----
void form_solutionB3_456(CHpGN56 &s);

// ---- Decision order in 'order.cpp' ----
void order_init(CHpGN56 &s);
void order_bumped(CHpGN56 &s, int v);    // v's activity rose
void order_insert(CHpGN56 &s, int v);    // v enters the heap
void order_rescaled(CHpGN56 &s);         // every activity changed
int order_most_active_free(CHpGN56 &s);  // the variable, or NONE
void resert_var_activityB456(CHpGN56 &s);

// v became free again. Inline: the undo of a level calls it for every code.
inline void order_freed(CHpGN56 &s, int v) {
    if (v < s.lowest_free)
        s.lowest_free = v;
    if (s.order_heap_on && s.heap_pos.data[v] < 0)
        order_insert(s, v);
}

// ---- Set-up in 'setup.cpp' ----
void set_dirki456(CHpGN56 &s);
void init_B456(Formula &formula, CHpGN56 &s);
void load_cube_base(Formula &formula, CHpGN56 &s);

// ---- Runs decided by the first decision in 'first_decision.cpp' ----
bool decides_code_0_first(int strategy);
bool refuted_by_first_decision(const Formula &formula, int strategy);

// ---- Propagation in 'propagate.cpp' ----
bool SubstitutionB3L_B456_rs(int &lit, CHpGN56 &s);
bool SubstitutR456_rs(CHpGN56 &s);
int get_sublit_B456(int i, int level, CHpGN56 &s);
bool subst_litB456(int lit, CHpGN56 &s);

// ---- Conflict analysis in 'analyze.cpp' ----
void find_recipe_m_B456_rs(CHpGN56 &s);
void set_accum456(CHpGN56 &s);
void recove_dirki456(int d, CHpGN56 &s);
void set_chain456(int n, CHpGN56 &s);

// ---- Recipe inclusion in 'inclusion.cpp' ----
bool incl_lefttrB456_rs(int lit, CHpGN56 &s);
void change_tr456(int lit, CHpGN56 &s);
void statistic_recipe456(int n, CHpGN56 &s);

// ---- Branching in 'branch.cpp' ----
int choice_stack_lia_456(CHpGN56 &s);
int choice_va2_456(CHpGN56 &s);
int get_lit_ves_456(int code, CHpGN56 &s);
bool is_ves2_and_neud456(int cube, int code, int &other, CHpGN56 &s);
bool is_ves2_and_neud456(int cube, int code, CHpGN56 &s);
bool is_ud456(int cube, CHpGN56 &s);
int choice_stat456(CHpGN56 &s);
int choose_decision(CHpGN56 &s);

// ---- Search in 'search.cpp' ----
int TautB456_rs(CHpGN56 &s);
void recove_stateB456_rs(CHpGN56 &s);

// ---- Reviews in 'review.cpp' ----
void base_reviewB456_rs1m(CHpGN56 &s);
void base_reviewB456_rs2m(CHpGN56 &s);
void remove_more_then_base_begin_in_guard_in_i_456(int code, CHpGN56 &s);

// ---- Proof steps in 'proof_steps.cpp' (each does nothing without a proof) ----
// True when a proof is written; loops over every cube test it once instead of
// calling a step per cube.
inline bool writes_proof(const CHpGN56 &s) { return s.control && s.control->proof; }
void proof_add_cube(CHpGN56 &s, int i);       // cube i was just included
void proof_delete_cube(CHpGN56 &s, int i);    // cube i leaves the base
void proof_root_unit(CHpGN56 &s, int code);   // code is set at the root for good
void proof_hold_cube(CHpGN56 &s, int i);      // cube i is about to be rewritten
void proof_held_rewritten(CHpGN56 &s);        // ... without its root codes
void proof_held_dropped(CHpGN56 &s);          // ... or left the base
void proof_finish(const SolveControl *control, bool unsat); // empty clause if unsat, flush

// ---- Pass loop in 'passes.cpp' ----
struct SolveOutcome {
    int pass_value;      // what the last pass returned (always -1)
    std::string verdict; // the exact verdict text that is printed
    SolveStats stats;    // counters of the solve
    std::vector<int> model; // when satisfiable, per var v = 1..n: +v true, -v
                            // false or free, as the verdict lines print it
};
int run_passes(CHpGN56 &s);
void recove_state0_B456(CHpGN56 &s);
// Solves the formula (consumed) and formats the verdict without printing it.
// With a control, the proof is written and the search stops (verdict
// "s UNKNOWN") when the control asks for it.
SolveOutcome solve_formula(Formula &formula, int nb_var, int strategy, const SolveControl *control = nullptr);
// Solves the formula (consumed), prints the verdict and flushes standard
// output; the solve's counters go to stats when it is given.
int base_B456_rs(Formula &formula, int nb_var, int strategy, SolveStats *stats = nullptr,
                 const SolveControl *control = nullptr);

// ---- Model check and verdict in 'report.cpp' ----
bool IsCorrect456_rs(CHpGN56 &s);
void cub_info_out456(int i, CHpGN56 &s);
// Appends the SAT-competition verdict lines for the state's result; a
// satisfiable verdict also fills model.
void format_verdict(CHpGN56 &s, std::string &out, std::vector<int> &model);

// ---- Diagnostic dumps in 'dumps.cpp' ----
void statistic_recipe_info456(CHpGN56 &s);
void cub_info_TRACE(int c, CHpGN56 &s);
void cub_info_TRACE_h(int c, CHpGN56 &s);
void cub_info_TRACE_h_ext(int c, CHpGN56 &s);
void lit_info_TRACE(int x, CHpGN56 &s);
void guard_TRACE(int c, CHpGN56 &s);
bool test_cube456(int c, CHpGN56 &s);
