// Search, reviews and branching: whole solves of formulas small enough to
// trace by hand, the review filter on constructed bases, and the branching
// rules on prepared assignments.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "solver/base_m456.h"
#include "support/my_carray.h"

namespace {

using Codes = std::vector<std::vector<int>>;
using V = std::vector<int>;

void fill_formula(Formula &formula, const Codes &cubes) {
    for (const V &cube : cubes) {
        for (int code : cube)
            formula.add_code(code);
        formula.close_clause();
    }
}

std::string solve(const Codes &cubes, int nb_var, int strategy) {
    Formula formula;
    fill_formula(formula, cubes);
    return solve_formula(formula, nb_var, strategy).verdict;
}

// A solver state after set-up, for driving single routines.
struct Loaded {
    Formula formula;
    std::unique_ptr<CHpGN56> state;
    Loaded(const Codes &cubes, int nb_var, int strategy = 2) {
        fill_formula(formula, cubes);
        state.reset(new CHpGN56(formula, nb_var, strategy));
        set_dirki456(*state);
        init_B456(formula, *state);
    }
    CHpGN56 &operator*() { return *state; }
};

// Appends a cube the way the base holds a learnt one: first two codes are
// the guards (listed in their watch lists), the rest its tail.
int append_cube(CHpGN56 &s, const V &codes, int gen) {
    int i = s.nb_cub;
    s.guard_0[i] = codes[0];
    s.guard_list[codes[0]].SetAtGrow(s.guard_list[codes[0]].size, i);
    if (codes.size() > 1) {
        s.guard_1[i] = codes[1];
        s.guard_list[codes[1]].SetAtGrow(s.guard_list[codes[1]].size, i);
    } else {
        s.guard_1[i] = NONE;
    }
    int p = s.cub_data_pnt[i];
    for (size_t k = 2; k < codes.size(); ++k)
        s.cub_set[p++] = codes[k];
    s.cub_data_pnt[i + 1] = p;
    s.cub_gen[i] = gen;
    ++s.nb_cub;
    return i;
}

// The field of cubes 0 .. n-1.
template <class Field> V first(const Field &f, int n) {
    V v;
    for (int i = 0; i < n; ++i)
        v.push_back(f[i]);
    return v;
}

V tail_of(const CHpGN56 &s, int i) {
    return V(s.cub_set + s.cub_data_pnt[i], s.cub_set + s.cub_data_pnt[i + 1]);
}

V watch(CHpGN56 &s, int code) {
    const IntArray &l = s.guard_list[code];
    return V(l.data, l.data + l.size);
}

// Codes set at level 0 between passes, as a pass leaves them.
void set_at_root(CHpGN56 &s, const V &codes) {
    for (int c : codes) {
        s.lit_ind[c] = 2;
        s.lit_u[c] = 0;
        s.der_lit_lev_0[s.nb_der_lit_lev_0++] = c;
    }
}

// Activities written by hand: the values given times four, then one
// rescale, so that every cached decision order sees them.
void set_activities(CHpGN56 &s, const V &quarter) {
    int top = 0;
    for (size_t v = 0; v < quarter.size(); ++v) {
        s.var_activity_old[v] = 4 * quarter[v];
        top = std::max(top, 4 * quarter[v]);
    }
    s.max_activity = top;
    resert_var_activityB456(s);
}

Codes positive_units(int n) {
    Codes cubes;
    for (int v = 0; v < n; ++v)
        cubes.push_back({2 * v});
    return cubes;
}

// ============================================================ whole solves

TEST(Solve, NoClauses) {
    // Strategies 0 and 1: equal activities and zero weights, so the highest
    // free variable's odd code (true) while keyac is 1. Strategy 2: the
    // lowest free variable's even code (false).
    EXPECT_EQ(solve({}, 3, 0), "s SATISFIABLE\nv 1 2 3 0\n");
    EXPECT_EQ(solve({}, 3, 1), "s SATISFIABLE\nv 1 2 3 0\n");
    EXPECT_EQ(solve({}, 3, 2), "s SATISFIABLE\nv 0\n");
    EXPECT_EQ(solve({}, 0, 0), "s SATISFIABLE\nv 0\n");
}

TEST(Solve, UnitConflictIsUnsatisfiable) {
    // x1 and -x1: cubes {0} and {1}.
    for (int strategy : {0, 1, 2})
        EXPECT_EQ(solve({{0}, {1}}, 1, strategy), "s UNSATISFIABLE\n") << strategy;
}

// Strategy 2 decides code 0 first. When the first cubes watching codes 0
// and 1 are their unit cubes, that decision refutes the formula whatever
// else it holds: the search itself takes one decision to the tautology, and
// the verdict is given without it. A cube whose guards hold code 0 or 1
// ahead of the unit cube leaves the run to the search.
TEST(Solve, UnitPairLeadingCodesZeroAndOneRefutesAtTheFirstDecision) {
    const std::vector<Codes> refuted = {
        {{0}, {1}, {2, 4, 7}},
        {{2, 4}, {0}, {3, 0}, {4, 5, 1}, {1}, {1, 6}}, // code 1 in a tail first
        {{1}, {2, 3, 0}, {0}, {5}},
    };
    for (const Codes &cubes : refuted) {
        Formula formula;
        fill_formula(formula, cubes);
        EXPECT_TRUE(refuted_by_first_decision(formula, 2));
        EXPECT_FALSE(refuted_by_first_decision(formula, 0));
        EXPECT_FALSE(refuted_by_first_decision(formula, 1));
        Loaded l(cubes, 4, 2);
        CHpGN56 &s = *l;
        EXPECT_EQ(TautB456_rs(s), -1);
        EXPECT_FALSE(s.restart);
        EXPECT_EQ(s.result, RESULT_UNSAT);
        EXPECT_EQ(s.nb_node, 1);
        EXPECT_EQ(solve(cubes, 4, 2), "s UNSATISFIABLE\n");
    }
    for (const Codes &cubes : std::vector<Codes>{{{0, 2}, {0}, {1}}, {{0}, {3, 1}, {1}}, {{0}, {2}}}) {
        Formula formula;
        fill_formula(formula, cubes);
        EXPECT_FALSE(refuted_by_first_decision(formula, 2));
    }
}

// Told to, the formula stops storing clauses once the unit cubes of codes 0
// and 1 lead, and still counts them and their tails.
TEST(Solve, FormulaStopsStoringAfterTheLeadingUnitPair) {
    Formula formula;
    formula.stop_storing_after_unit_pair();
    fill_formula(formula, {{0}, {2, 4, 6, 7}, {1}, {3, 5, 8, 9}});
    EXPECT_FALSE(formula.stored());
    EXPECT_EQ(formula.clause_count(), 4);
    EXPECT_EQ(formula.tail_codes(), 4);
    EXPECT_EQ(solve_formula(formula, 5, 2).verdict, "s UNSATISFIABLE\n");
}

TEST(Solve, EmptyClauseIsUnsatisfiable) {
    for (int strategy : {0, 1, 2}) {
        EXPECT_EQ(solve({{0, 2}, {}, {1}}, 2, strategy), "s UNSATISFIABLE\n") << strategy;
        EXPECT_EQ(solve({{}}, 0, strategy), "s UNSATISFIABLE\n") << strategy;
    }
}

TEST(Solve, ModelLinesBreakAfterEveryFifteenth) {
    std::string first, second;
    for (int v = 1; v <= 15; ++v)
        first += " " + std::to_string(v);
    for (int v = 16; v <= 30; ++v)
        second += " " + std::to_string(v);
    for (int strategy : {0, 1, 2}) {
        SCOPED_TRACE(strategy);
        EXPECT_EQ(solve(positive_units(15), 15, strategy), "s SATISFIABLE\nv" + first + "\nv 0\n");
        EXPECT_EQ(solve(positive_units(16), 16, strategy),
                  "s SATISFIABLE\nv" + first + "\nv 16 0\n");
        EXPECT_EQ(solve(positive_units(30), 30, strategy),
                  "s SATISFIABLE\nv" + first + "\nv" + second + "\nv 0\n");
    }
}

TEST(Solve, OneBinaryClause) {
    // x1 or x2 over three variables: cube {0, 2}.
    // Strategy 2: x1 false forces x2 true; then x3 false.
    EXPECT_EQ(solve({{0, 2}}, 3, 2), "s SATISFIABLE\nv 2 0\n");
    // Strategy 1: x3 by the tie-break (true); for x2 the even code 2 makes
    // cube 0 unit (weight 1 against 0), so x2 false, which forces x1.
    EXPECT_EQ(solve({{0, 2}}, 3, 1), "s SATISFIABLE\nv 1 3 0\n");
    // Strategy 0 with a single input cube always uses strategy 1's rule.
    EXPECT_EQ(solve({{0, 2}}, 3, 0), "s SATISFIABLE\nv 1 3 0\n");
}

TEST(Solve, ConflictAndBackjumpToTheRoot) {
    // (x1 or x2) and (x1 or -x2): cubes {0, 2}, {0, 3}.
    // Strategy 2: x1 false forces x2 true through cube 0, and cube 1 is all
    // set. The recipe {0} sets x1 true at the root; then x2 false.
    EXPECT_EQ(solve({{0, 2}, {0, 3}}, 2, 2), "s SATISFIABLE\nv 1 0\n");
    // Strategy 1: x2 has weight 1 both ways, the tie gives x2 true, which
    // forces x1 true through cube 1.
    EXPECT_EQ(solve({{0, 2}, {0, 3}}, 2, 1), "s SATISFIABLE\nv 1 2 0\n");
    EXPECT_EQ(solve({{0, 2}, {0, 3}}, 2, 0), "s SATISFIABLE\nv 1 2 0\n");
}

TEST(Solve, CountersOfATracedSolve) {
    // The strategy-2 trace above: decide 0 (visits cubes 0 and 1, both unit),
    // force 3 (visits cube 1: all set), include {0}; at the root force 1 (no
    // watcher), decide 2 (visits cube 0, falsified), and no variable is free.
    Formula formula;
    fill_formula(formula, {{0, 2}, {0, 3}});
    const SolveStats st = solve_formula(formula, 2, 2).stats;
    EXPECT_EQ(V({int(st.conflicts), int(st.decisions), int(st.propagations), int(st.visits),
                 int(st.passes), int(st.reviews_root), int(st.reviews_plain),
                 int(st.recipes_included), int(st.recipes_deleted), int(st.cubes_held)}),
              (V{1, 2, 4, 4, 1, 0, 0, 1, 0, 3}));
    Formula empty_clause;
    fill_formula(empty_clause, {{0}, {}});
    EXPECT_EQ(solve_formula(empty_clause, 1, 2).stats.propagations, 0u);
}

TEST(Solve, ThreeUnitsUnderStrategy2EndInAFirstReviewThatEmptiesTheBase) {
    EXPECT_EQ(solve(positive_units(3), 3, 2), "s SATISFIABLE\nv 1 2 3 0\n");
}

// ================================================================= passes

TEST(Pass, LevelZeroLimitStopsThePassBeforeAnyFurtherLevel) {
    // Cubes {0}, {2}, {4}; strategy 2 decides 0, 2, 4 in turn. Each is a
    // conflict whose one-code recipe lands on the root and sets the
    // complement there. With 3 codes at level 0 (limit 2) the fourth call
    // stops the pass.
    Loaded l(positive_units(3), 3);
    CHpGN56 &s = *l;
    EXPECT_EQ(TautB456_rs(s), -1);
    EXPECT_TRUE(s.restart);
    EXPECT_EQ(s.result, 2);
    EXPECT_EQ(s.lev, -1);
    EXPECT_EQ(s.index_der, -1);
    EXPECT_EQ(s.nb_node, 3);
    EXPECT_EQ(s.nb_der_lit_lev_0, 3);
    EXPECT_EQ(V(s.der_lit_lev_0, s.der_lit_lev_0 + 3), (V{1, 3, 5}));
    EXPECT_EQ(s.nb_cub, 6);
    EXPECT_EQ(s.nb_recipe_rev, 3);
    EXPECT_EQ(s.base_begin, 3);
    EXPECT_EQ(s.cub_stack_top, 5);
    for (int i = 3; i < 6; ++i) {
        EXPECT_EQ(s.guard_0[i], 2 * (i - 3));
        EXPECT_EQ(s.guard_1[i], NONE);
    }
    EXPECT_EQ(s.lim_lev_0, 2); // doubling is the driver's business

    // Every cube holds a code whose complement is set at level 0: the first
    // review leaves none, and the level-0 assignment is the model.
    base_reviewB456_rs1m(s);
    EXPECT_EQ(s.result, 0);
    EXPECT_EQ(s.nb_cub, 0);
    EXPECT_EQ(s.nb_der_lit_lev_0, 0);
    EXPECT_EQ(V(s.var_activity_old, s.var_activity_old + 3), (V{0, 0, 0}));
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(s.guard_list[c].data, nullptr) << c;
        EXPECT_EQ(s.guard_list[c].max_size, 0) << c;
    }
    EXPECT_TRUE(IsCorrect456_rs(s));
}

TEST(Pass, RecipeLimit) {
    {
        Loaded l({}, 3);
        CHpGN56 &s = *l;
        s.nb_recipe_rev = 551;
        s.nb_cub_rev = 1; // base_begin = min(nb_cub_start, nb_cub_rev)
        s.nb_cub_start = 4;
        EXPECT_EQ(TautB456_rs(s), -1);
        EXPECT_TRUE(s.restart);
        EXPECT_EQ(s.lev, -1); // stopped before the root was opened
        EXPECT_EQ(s.nb_node, 0);
        EXPECT_EQ(s.base_begin, 1);
        EXPECT_EQ(s.result, 2);
    }
    {
        Loaded l({}, 3);
        CHpGN56 &s = *l;
        s.nb_recipe_rev = 550;
        s.nb_der_lit_lev_0 = 2; // not above lim_lev_0 = 2 either
        EXPECT_EQ(TautB456_rs(s), -1);
        EXPECT_FALSE(s.restart);
        EXPECT_EQ(s.result, 0);
        EXPECT_EQ(s.nb_node, 4); // three decisions and the call that found none
        EXPECT_EQ(s.lev, 0);
    }
}

TEST(Pass, RescaleAtTheStartOfEveryCall) {
    Loaded l({}, 3);
    CHpGN56 &s = *l;
    s.var_activity_old[0] = 281;
    s.var_activity_old[1] = 3;
    s.var_activity_old[2] = 7;
    s.max_activity = 281;
    s.nb_recipe_rev = 551; // stop right after the rescale
    TautB456_rs(s);
    EXPECT_EQ(V(s.var_activity_old, s.var_activity_old + 3), (V{70, 0, 1}));
    EXPECT_EQ(s.max_activity, 70);
}

TEST(Pass, ResertDividesOnceByFour) {
    Loaded l({{0, 2}}, 4);
    CHpGN56 &s = *l;
    const V before = {281, 3, 7, 2000};
    std::copy(before.begin(), before.end(), s.var_activity_old);
    s.max_activity = 2000;
    s.lit_activity[3] = 9;
    resert_var_activityB456(s);
    EXPECT_EQ(V(s.var_activity_old, s.var_activity_old + 4), (V{70, 0, 1, 500}));
    EXPECT_EQ(s.max_activity, 500); // once per call, even above 280 * 4
    EXPECT_EQ(s.lit_activity[3], 9);
}

// ================================================================ reviews

// 1000 input cubes {198, 196}, then 800 learnt cubes 1000 .. 1799. Learnt
// cube k = i - 1000 has the guards 2(k mod 100), 2((k+1) mod 100) and a tail
// of 2 codes with use count 100 + k (never deleted), except the rows below.
struct LearntRow {
    int index;
    int tail;
    int gen;
    bool deleted;
};

V learnt_codes(int k, int tail) {
    V codes = {2 * (k % 100), 2 * ((k + 1) % 100)};
    for (int t = 0; t < tail; ++t)
        codes.push_back(2 * ((k + 2 + t) % 100));
    return codes;
}

TEST(Review, FilterRulesAndRebuildOfTheSecondReview) {
    // n = 800, old_end = 1000 + 800/16 = 1050, gen_bound = 5000/1024 + 60.
    const LearntRow rows[] = {
        {1000, 6, 0, false},  // tail equal to saved_rang
        {1001, 7, 64, false}, // used gen_bound times
        {1002, 7, 63, true},  // rule A
        {1010, 41, 63, true}, // rule A (rule B needs gen <= 6)
        {1049, 7, 0, true},   // last of the oldest sixteenth
        {1050, 7, 0, false},  // first outside it
        {1500, 41, 6, true},  // rule B
        {1501, 41, 7, false},
        {1502, 40, 0, false},
        {1799, 41, 0, false}, // the newest cube always stays
    };
    Loaded l(Codes(1000, V{198, 196}), 100);
    CHpGN56 &s = *l;
    struct Expected {
        V codes;
        int gen;
    };
    std::vector<Expected> kept;
    for (int i = 1000; i < 1800; ++i) {
        int tail = 2, gen = 100 + (i - 1000);
        bool deleted = false;
        for (const LearntRow &r : rows)
            if (r.index == i) {
                tail = r.tail;
                gen = r.gen;
                deleted = r.deleted;
            }
        V codes = learnt_codes(i - 1000, tail);
        append_cube(s, codes, gen);
        if (!deleted)
            kept.push_back({codes, gen});
    }
    ASSERT_EQ(kept.size(), 796u);
    s.nb_node = 5000;
    s.nb_recipe_rev = 800;
    s.restart = true;

    base_reviewB456_rs2m(s);
    EXPECT_EQ(s.result, 2);
    ASSERT_EQ(s.nb_cub, 1796);
    EXPECT_EQ(s.nb_cub_rev, 1796);
    EXPECT_EQ(s.cub_stack_top, 1795);
    EXPECT_FALSE(s.restart);
    EXPECT_EQ(s.nb_recipe_rev, 0);
    EXPECT_EQ(s.nb_cub_orig, 1000);
    EXPECT_EQ(s.saved_rang, 5); // 4 deleted, fewer than 800 >> 5

    int offset = 0; // the input cubes have no tail
    std::vector<V> lists(200);
    for (int i = 0; i < 1000; ++i) {
        lists[198].push_back(i);
        lists[196].push_back(i);
    }
    for (size_t k = 0; k < kept.size(); ++k) {
        const int j = 1000 + static_cast<int>(k);
        const V &codes = kept[k].codes;
        SCOPED_TRACE(j);
        ASSERT_EQ(s.cub_data_pnt[j], offset);
        EXPECT_EQ(s.guard_0[j], codes[0]);
        EXPECT_EQ(s.guard_1[j], codes[1]);
        EXPECT_EQ(tail_of(s, j), V(codes.begin() + 2, codes.end()));
        EXPECT_EQ(s.cub_gen[j], kept[k].gen);
        offset += static_cast<int>(codes.size()) - 2;
        lists[static_cast<size_t>(codes[0])].push_back(j);
        lists[static_cast<size_t>(codes[1])].push_back(j);
    }
    EXPECT_EQ(s.cub_data_pnt[1796], offset);
    // Entries below base_begin keep their order; the rewritten cubes follow
    // in increasing order.
    for (int c = 0; c < 200; ++c)
        EXPECT_EQ(watch(s, c), lists[static_cast<size_t>(c)]) << "code " << c;
}

// Two input cubes of `shortest` codes, then `learnt` cubes whose tail
// length and use count are given for the oldest one; the others have a
// 2-code tail and are used often.
Codes two_inputs(int shortest) {
    Codes cubes(2);
    for (int k = 0; k < shortest; ++k) {
        cubes[0].push_back(2 * k);
        cubes[1].push_back(2 * k + 1);
    }
    return cubes;
}

struct SmallReview {
    Loaded l;
    CHpGN56 &s;
    SmallReview(int learnt, int oldest_tail, int oldest_gen, int nb_node, int shortest = 2)
        : l(two_inputs(shortest), 60), s(*l) {
        for (int k = 0; k < learnt; ++k) {
            V codes = {10, 12};
            for (int t = 0; t < (k == 0 ? oldest_tail : 2); ++t)
                codes.push_back(20 + 2 * t);
            append_cube(s, codes, k == 0 ? oldest_gen : 1000);
        }
        s.nb_node = nb_node;
        s.restart = true;
    }
};

TEST(Review, GenBoundGrowsWithDecisionsAndTheThresholdStep) {
    {
        // 32 reviewed cubes: the oldest two are in rule A's range, and one
        // deletion is enough to keep saved_rang.
        SmallReview r(32, 7, 60, 1023); // gen_bound 60: kept
        base_reviewB456_rs2m(r.s);
        EXPECT_EQ(r.s.nb_cub, 34);
        EXPECT_EQ(r.s.saved_rang, 5);
    }
    {
        SmallReview r(32, 7, 60, 1024); // gen_bound 61: deleted
        base_reviewB456_rs2m(r.s);
        EXPECT_EQ(r.s.nb_cub, 33);
        EXPECT_EQ(r.s.saved_rang, 6);
    }
    {
        // 31 reviewed: old_end is base_begin + 1, so the oldest cube goes;
        // with fewer than 32 saved_rang never moves.
        SmallReview r(31, 7, 0, 0);
        base_reviewB456_rs2m(r.s);
        EXPECT_EQ(r.s.nb_cub, 32);
        EXPECT_EQ(r.s.saved_rang, 6);
    }
    {
        SmallReview r(15, 7, 0, 0); // fewer than 16: rule A reaches nothing
        base_reviewB456_rs2m(r.s);
        EXPECT_EQ(r.s.nb_cub, 17);
    }
    {
        SmallReview r(16, 7, 0, 0); // 16: the oldest cube is in its range
        base_reviewB456_rs2m(r.s);
        EXPECT_EQ(r.s.nb_cub, 17);
        EXPECT_EQ(r.s.guard_0[2], 10);
        EXPECT_EQ(tail_of(r.s, 2), (V{20, 22}));
    }
    {
        // Shortest input cube of 7 codes: min_saved_rang 6, no step.
        SmallReview r(32, 2, 1000, 0, 7);
        EXPECT_EQ(r.s.min_saved_rang, 6);
        base_reviewB456_rs2m(r.s);
        EXPECT_EQ(r.s.saved_rang, 6);
    }
    {
        // The step stops at min_saved_rang.
        SmallReview r(32, 2, 1000, 0, 3);
        r.s.saved_rang = 3;
        base_reviewB456_rs2m(r.s);
        EXPECT_EQ(r.s.saved_rang, 2);
        r.s.nb_cub_rev = 0;
        base_reviewB456_rs2m(r.s);
        EXPECT_EQ(r.s.saved_rang, 2);
    }
}

TEST(Review, NothingAddedSinceTheLastReviewChangesNothing) {
    for (int first : {0, 1}) {
        Loaded l({{0, 2, 4}, {1, 6}}, 4);
        CHpGN56 &s = *l;
        s.restart = true;
        s.nb_recipe_rev = 5;
        s.saved_rang = 4;
        set_at_root(s, {7});
        if (first)
            base_reviewB456_rs1m(s);
        else
            base_reviewB456_rs2m(s);
        EXPECT_TRUE(s.restart);
        EXPECT_EQ(s.nb_recipe_rev, 5);
        EXPECT_EQ(s.nb_cub, 2);
        EXPECT_EQ(s.nb_der_lit_lev_0, 1);
        EXPECT_EQ(s.saved_rang, 4);
        EXPECT_EQ(watch(s, 6), (V{1}));
    }
}

TEST(Review, FirstReviewSimplifiesByLevelZero) {
    // Level 0: 3 and 8.
    Loaded l({{0, 2, 4}, {8, 6, 10}, {1, 8}, {4, 6, 0, 10}}, 6);
    CHpGN56 &s = *l;
    for (int i = 0; i < 4; ++i)
        s.cub_gen[i] = 10 + i;
    append_cube(s, {9, 0, 2}, 14);
    append_cube(s, {0, 4, 6, 8}, 15);
    set_at_root(s, {3, 8});
    s.restart = true;
    s.nb_recipe_rev = 2;
    base_reviewB456_rs1m(s);

    EXPECT_EQ(s.result, 2);
    ASSERT_EQ(s.nb_cub, 4);
    // Cube 0 (2 is false) and learnt cube 4 (9 is false) leave; 8 leaves
    // cubes 1, 2 and 5. Guards are the first two free codes in the order
    // guard_0, guard_1, tail.
    EXPECT_EQ(first(s.guard_0, 4), (V{6, 1, 4, 0}));
    EXPECT_EQ(first(s.guard_1, 4), (V{10, NONE, 6, 4}));
    EXPECT_EQ(first(s.cub_data_pnt, 5), (V{0, 0, 0, 2, 3}));
    EXPECT_EQ(tail_of(s, 2), (V{0, 10}));
    EXPECT_EQ(tail_of(s, 3), (V{6}));
    EXPECT_EQ(first(s.cub_gen, 4), (V{11, 12, 13, 15}));
    EXPECT_EQ(s.nb_cub_orig, 3); // one input cube dropped
    EXPECT_EQ(s.nb_cub_rev, 4);
    EXPECT_EQ(s.cub_stack_top, 3);
    EXPECT_FALSE(s.restart);
    EXPECT_EQ(s.nb_recipe_rev, 0);
    EXPECT_EQ(s.nb_der_lit_lev_0, 0);
    EXPECT_EQ(s.saved_rang, 6);
    EXPECT_EQ(s.lit_ind[3], 2); // level-0 codes stay set
    EXPECT_EQ(s.lit_ind[8], 2);
    // Watch lists rebuilt in cube order; those of the level-0 variables
    // are released.
    EXPECT_EQ(watch(s, 6), (V{0, 2}));
    EXPECT_EQ(watch(s, 10), (V{0}));
    EXPECT_EQ(watch(s, 1), (V{1}));
    EXPECT_EQ(watch(s, 4), (V{2, 3}));
    EXPECT_EQ(watch(s, 0), (V{3}));
    for (int c : {2, 3, 8, 9}) {
        EXPECT_EQ(s.guard_list[c].data, nullptr) << c;
        EXPECT_EQ(s.guard_list[c].size, 0) << c;
    }
    for (int c : {5, 7, 11})
        EXPECT_EQ(watch(s, c), V{}) << c;
}

TEST(Review, FirstReviewThresholdCountsDroppedCubes) {
    // 32 reviewed cubes, none deleted by the filter. Learnt cube 7 holds 41
    // (dropped when 40 is set at level 0) or 40 itself (which only leaves
    // the cube).
    for (int code : {41, 40}) {
        SmallReview r(32, 2, 1000, 0);
        CHpGN56 &s = r.s;
        s.cub_set[s.cub_data_pnt[7] + 1] = code;
        set_at_root(s, {40});
        base_reviewB456_rs1m(s);
        EXPECT_EQ(s.result, 2);
        EXPECT_EQ(s.nb_cub, code == 41 ? 33 : 34);
        EXPECT_EQ(s.nb_cub_orig, 2);
        EXPECT_EQ(s.saved_rang, code == 41 ? 6 : 5) << code;
    }
}

TEST(Review, FirstReviewEmptyingTheBaseRecordsTheModel) {
    Loaded l({{0}, {2}}, 3);
    CHpGN56 &s = *l;
    append_cube(s, {0, 2}, 0);
    set_at_root(s, {1, 3});
    s.restart = true;
    base_reviewB456_rs1m(s);
    EXPECT_EQ(s.result, 0);
    EXPECT_EQ(s.nb_cub, 0);
    EXPECT_EQ(V(s.var_activity_old, s.var_activity_old + 3), (V{0, 0, 2}));
    EXPECT_TRUE(IsCorrect456_rs(s));
}

TEST(Review, CubeWithNoFreeCodeProvesTheTautology) {
    {
        Loaded l({{0, 2}, {4, 6}, {8, 10}}, 6);
        CHpGN56 &s = *l;
        append_cube(s, {0, 10}, 0);
        set_at_root(s, {4, 6});
        base_reviewB456_rs1m(s);
        EXPECT_EQ(s.result, 1);
    }
    {
        // Second review: a learnt cube whose codes are all set.
        Loaded l({{0, 2}, {4, 6}}, 6);
        CHpGN56 &s = *l;
        append_cube(s, {8, 10, 1}, 0);
        append_cube(s, {9, 10}, 0);
        for (int c : {8, 10, 1}) {
            s.lit_ind[c] = 2;
            s.lit_u[c] = 0;
        }
        base_reviewB456_rs2m(s);
        EXPECT_EQ(s.result, 1);
    }
}

TEST(Review, SecondReviewLooksOnlyAtSetCodes) {
    // 10 is set: the rewritten cube drops it, keeps the false 11 as its
    // first guard and takes its guards from the codes in the order
    // guard_0, guard_1, tail.
    Loaded l({{0, 2}, {4, 6}}, 6);
    CHpGN56 &s = *l;
    append_cube(s, {10, 11, 8, 2, 6}, 3);
    s.lit_ind[10] = 2;
    s.lit_u[10] = 0;
    base_reviewB456_rs2m(s);
    EXPECT_EQ(s.result, 2);
    ASSERT_EQ(s.nb_cub, 3);
    EXPECT_EQ(s.guard_0[2], 11);
    EXPECT_EQ(s.guard_1[2], 8);
    EXPECT_EQ(tail_of(s, 2), (V{2, 6}));
    EXPECT_EQ(s.cub_gen[2], 3);
    EXPECT_EQ(watch(s, 11), (V{2}));
    EXPECT_EQ(watch(s, 8), (V{2}));
    EXPECT_EQ(watch(s, 10), V{});
    EXPECT_EQ(watch(s, 6), (V{1}));
}

TEST(Review, GuardListStripKeepsOldEntriesInOrder) {
    Loaded l({{0, 2}}, 2);
    CHpGN56 &s = *l;
    IntArray &list = s.guard_list[3];
    for (int e : {7, 1200, 3, 1000, 999, 1001}) {
        int v = e;
        list.SetAtGrow(list.size, v);
    }
    int *storage = list.data;
    const int capacity = list.max_size;
    s.base_begin = 1000;
    remove_more_then_base_begin_in_guard_in_i_456(3, s);
    EXPECT_EQ(watch(s, 3), (V{7, 3, 999}));
    EXPECT_EQ(list.data, storage);
    EXPECT_EQ(list.max_size, capacity);
}

// ============================================================== branching

TEST(Branching, Strategy2TakesTheEvenCodeOfTheLowestFreeVariable) {
    Loaded l({}, 3);
    CHpGN56 &s = *l;
    EXPECT_EQ(choice_stat456(s), 0);
    s.lit_ind[1] = 3;
    EXPECT_EQ(choice_stat456(s), 2);
    s.lit_ind[2] = 2;
    EXPECT_EQ(choice_stat456(s), 4);
    s.lit_ind[4] = 2;
    EXPECT_EQ(choice_stat456(s), NONE);
}

TEST(Branching, Strategy1VariableOrderAndTieBreak) {
    Loaded l({}, 5, 1);
    CHpGN56 &s = *l;
    EXPECT_EQ(choice_va2_456(s), 9); // equal activities: the last variable
    s.keyac = 2;
    EXPECT_EQ(choice_va2_456(s), 8); // even stamp: the even code

    // Most active first; among equals the highest-numbered.
    set_activities(s, {2, 5, 5, 1, 0});
    s.keyac = 3;
    const V order = {5, 3, 1, 7, 9};
    for (int want : order) {
        int got = choice_va2_456(s);
        EXPECT_EQ(got, want);
        s.lit_ind[got] = 3;
    }
    EXPECT_EQ(choice_va2_456(s), NONE);

    Loaded m({}, 6, 1);
    set_activities(*m, {5, 4, 3, 2, 1, 1});
    for (int want : {1, 3, 5, 7, 11, 9}) {
        int got = choice_va2_456(*m);
        EXPECT_EQ(got, want);
        (*m).lit_ind[got] = 2;
    }
}

TEST(Branching, Strategy1PolarityByWeight) {
    {
        // Code 4 guards cube {4, 0} (weight 1), whose forced 1 guards cube
        // {1, 2} (weight 1 more). Code 5's cube has a free tail code.
        Loaded l({{4, 0}, {1, 2}, {5, 0, 3}}, 3, 1);
        CHpGN56 &s = *l;
        EXPECT_EQ(get_lit_ves_456(4, s), 2);
        EXPECT_EQ(get_lit_ves_456(5, s), 0);
        EXPECT_EQ(choice_va2_456(s), 4); // against the odd tie-break
    }
    {
        Loaded l({{5, 0}, {1, 2}}, 3, 1);
        CHpGN56 &s = *l;
        s.keyac = 2;
        EXPECT_EQ(choice_va2_456(s), 5); // against the even tie-break
    }
}

TEST(Branching, TwoFreeCodeTest) {
    Loaded l({{0, 2, 4, 6}, {8}, {10, 12, 14}}, 8);
    CHpGN56 &s = *l;
    int other = -5;
    EXPECT_FALSE(is_ves2_and_neud456(0, 0, other, s)); // tail codes free
    s.lit_ind[4] = 2;
    EXPECT_FALSE(is_ves2_and_neud456(0, 0, s));
    s.lit_ind[6] = 3;
    EXPECT_TRUE(is_ves2_and_neud456(0, 0, other, s));
    EXPECT_EQ(other, 2);
    EXPECT_TRUE(is_ves2_and_neud456(0, 2, other, s));
    EXPECT_EQ(other, 0);
    s.lit_ind[0] = 3; // the code itself is not examined
    EXPECT_TRUE(is_ves2_and_neud456(0, 0, s));
    EXPECT_FALSE(is_ves2_and_neud456(0, 2, s)); // the other one is set
    s.lit_ind[0] = -1;
    s.lit_ind[3] = 2; // the other code is false
    EXPECT_FALSE(is_ves2_and_neud456(0, 0, s));
    EXPECT_FALSE(is_ves2_and_neud456(1, 8, s)); // one code only

    // Falsified: some code's complement is set, wherever it stands.
    EXPECT_TRUE(is_ud456(0, s));
    s.lit_ind[3] = -1;
    EXPECT_FALSE(is_ud456(0, s)); // set codes themselves do not count
    s.lit_ind[15] = 2;
    EXPECT_TRUE(is_ud456(2, s));
    s.lit_ind[15] = -1;
    s.lit_ind[11] = 2;
    EXPECT_TRUE(is_ud456(2, s));
    EXPECT_FALSE(is_ud456(1, s));
    s.lit_ind[9] = 2;
    EXPECT_TRUE(is_ud456(1, s));
}

TEST(Branching, WeightCapOnFirstLevelHits) {
    // Code 0 guards cubes {0, x}. Plain ones add 1 each; the cube {0, 202}
    // adds 1 and then 5 for the cubes {203, z} guarded by 203.
    auto weight = [](int plain_before, int plain_after) {
        Codes cubes;
        for (int k = 0; k < plain_before; ++k)
            cubes.push_back({0, 2 * k + 2});
        cubes.push_back({0, 202});
        for (int k = 0; k < plain_after; ++k)
            cubes.push_back({0, 2 * (k % 50) + 2});
        for (int z = 0; z < 5; ++z)
            cubes.push_back({203, 2 * (102 + z)});
        Loaded l(cubes, 110, 1);
        return get_lit_ves_456(0, *l);
    };
    EXPECT_EQ(weight(0, 94), 6 + 94);
    EXPECT_EQ(weight(0, 95), 101);  // stops at the hit that passes 100
    EXPECT_EQ(weight(0, 120), 101); // the rest of the list is not examined
    EXPECT_EQ(weight(99, 0), 105);  // second-level additions are not capped
    EXPECT_EQ(weight(99, 1), 106);
    EXPECT_EQ(weight(100, 0), 101);
}

// Input cubes 0, 1; learnt cube 2 = {8, 10 | 12, 14}, learnt cube 3 =
// {1, 9 | 11}. Code 0 is set, so cube 3 is falsified; 14 is set.
struct Stack {
    Loaded l{{{0, 2}, {4, 6}}, 8, 0};
    CHpGN56 &s = *l;
    Stack() {
        append_cube(s, {8, 10, 12, 14}, 0);
        append_cube(s, {1, 9, 11}, 0);
        s.cub_stack_top = 3;
        s.lit_ind[0] = 3;
        s.lit_ind[14] = 2;
    }
};

TEST(Branching, Strategy0ChoosesInTheNewestUnfalsifiedLearntCube) {
    struct Row {
        V quarter_activity; // per variable 0 .. 7
        int lit_act_12, lit_act_13;
        int want;
    };
    const Row rows[] = {
        // Free tail code 12 first; equal activities never replace it, and
        // the set tail code 14 is skipped however active.
        {{0, 0, 0, 0, 3, 3, 3, 9}, 0, 0, 12},
        {{0, 0, 0, 0, 3, 3, 3, 9}, 2, 1, 13}, // more recipes hold 12
        {{0, 0, 0, 0, 3, 3, 3, 9}, 1, 1, 12},
        {{0, 0, 0, 0, 3, 5, 3, 9}, 0, 0, 10}, // guard_1 more active
        {{0, 0, 0, 0, 4, 3, 3, 0}, 0, 0, 8},
        {{0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 12},
    };
    for (const Row &r : rows) {
        Stack st;
        set_activities(st.s, r.quarter_activity);
        st.s.lit_activity[12] = r.lit_act_12;
        st.s.lit_activity[13] = r.lit_act_13;
        EXPECT_EQ(choice_stack_lia_456(st.s), r.want);
        EXPECT_EQ(st.s.cub_stack_top, 2);
    }
}

TEST(Branching, Strategy0FallsBackAndParksBelowTheLearntCubes) {
    Stack st;
    CHpGN56 &s = st.s;
    s.lit_ind[9] = 2; // cube 2 is falsified too
    // Strategy 1's rule: the highest free variable is 6 (codes 12, 13),
    // weights 0, odd stamp.
    EXPECT_EQ(choice_stack_lia_456(s), 13);
    EXPECT_EQ(s.cub_stack_top, 1);
    s.lit_ind[9] = -1; // scanning starts below the learnt cubes now
    EXPECT_EQ(choice_stack_lia_456(s), 13);
    EXPECT_EQ(s.cub_stack_top, 1);
}

TEST(Branching, Strategy0WithAtMostOneInputCubeUsesStrategy1) {
    Loaded l({{0, 2}}, 4, 0);
    CHpGN56 &s = *l;
    append_cube(s, {4, 6}, 0);
    s.cub_stack_top = 1;
    // Strategy 1's rule: variable 4, whose even code 6 makes cube 1 unit.
    EXPECT_EQ(choice_stack_lia_456(s), 6);
    EXPECT_EQ(s.cub_stack_top, 1);
}

// ======================================================== model check

TEST(ModelCheck, FailingCubeIsRecordedInInfo) {
    Loaded l({{0, 2, 4}, {6}}, 4);
    CHpGN56 &s = *l;
    const V model = {0, 1, 1, 1}; // x1 true, the rest false
    std::copy(model.begin(), model.end(), s.var_activity_old);
    EXPECT_FALSE(IsCorrect456_rs(s));
    EXPECT_EQ(s.info, "\n c[1]:6,-1,");
    s.var_activity_old[3] = 2; // free makes no code true either
    s.info.clear();
    EXPECT_FALSE(IsCorrect456_rs(s));
    EXPECT_EQ(s.info, "\n c[1]:6,-1,");
    s.var_activity_old[3] = 0;
    EXPECT_TRUE(IsCorrect456_rs(s));
    // Negative codes are true when the variable is false.
    Loaded m({{1, 3, 5}}, 3);
    const V all_true = {0, 0, 0};
    std::copy(all_true.begin(), all_true.end(), (*m).var_activity_old);
    EXPECT_FALSE(IsCorrect456_rs(*m));
    EXPECT_EQ((*m).info, "\n c[0]:5,1,3,");
    (*m).var_activity_old[2] = 1;
    EXPECT_TRUE(IsCorrect456_rs(*m));
}

} // namespace
