// Solver units on small hand-built cube bases: set-up, propagation through
// the watch lists, conflict analysis and recipe inclusion. Every expected
// value below was worked out by hand from the rules of the unit under test.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

#include "solver/base_m456.h"
#include "support/fatal.h"
#include "support/my_carray.h"

namespace {

using Codes = std::vector<std::vector<int>>;
using V = std::vector<int>;

// A solver state loaded with the given cubes (lists of literal codes), as
// the solve driver builds it: constructor, node pool, set-up.
struct Loaded {
    Formula formula;
    std::unique_ptr<CHpGN56> state;
    Loaded(const Codes &cubes, int nb_var, int strategy = 2) {
        for (const V &cube : cubes) {
            for (int c : cube)
                formula.add_code(c);
            formula.close_clause();
        }
        state.reset(new CHpGN56(formula, nb_var, strategy));
        set_dirki456(*state);
        init_B456(formula, *state);
    }
    CHpGN56 &operator*() { return *state; }
};

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

V trail(const CHpGN56 &s) { return V(s.der_lit, s.der_lit + s.index_der + 1); }

V recipe_of(const CHpGN56 &s) { return V(s.recipe, s.recipe + s.recipe_size); }

// Sets code c by hand: a decision (reason < 0) or derived from cube reason.
void put(CHpGN56 &s, int c, int level, int depth, int reason = -1) {
    s.lit_ind[c] = reason < 0 ? 3 : 2;
    s.lit_u[c] = level;
    s.lit_ul[c] = depth;
    if (reason >= 0)
        s.lit_n[c] = reason;
}

// ================================================================ set-up

TEST(SetUp, CubesGuardsTailsAndWatchLists) {
    Loaded l({{0, 2, 4}, {2}, {1, 3, 5, 7}, {4, 6}, {6, 2, 9}}, 5);
    CHpGN56 &s = *l;
    EXPECT_EQ(s.nb_cub, 5);
    EXPECT_EQ(first(s.guard_0, 5), (V{0, 2, 1, 4, 6}));
    EXPECT_EQ(first(s.guard_1, 5), (V{2, NONE, 3, 6, 2}));
    EXPECT_EQ(tail_of(s, 0), (V{4}));
    EXPECT_EQ(tail_of(s, 1), V{});
    EXPECT_EQ(tail_of(s, 2), (V{5, 7}));
    EXPECT_EQ(tail_of(s, 3), V{}); // two codes: both guards, empty tail
    EXPECT_EQ(tail_of(s, 4), (V{9}));
    EXPECT_EQ(first(s.cub_data_pnt, 6), (V{0, 1, 1, 3, 3, 4}));

    // Watch lists in cube order; a tail code is in no list.
    EXPECT_EQ(watch(s, 2), (V{0, 1, 4}));
    EXPECT_EQ(watch(s, 6), (V{3, 4}));
    EXPECT_EQ(watch(s, 4), (V{3}));
    EXPECT_EQ(watch(s, 0), (V{0}));
    EXPECT_EQ(watch(s, 1), (V{2}));
    EXPECT_EQ(watch(s, 3), (V{2}));
    for (int c : {5, 7, 8, 9})
        EXPECT_EQ(watch(s, c), V{}) << c;
    // Room for the code's occurrences plus 25, so loading never regrows a
    // list. (A code that does not occur gets its storage when a recipe
    // first lists it.)
    EXPECT_EQ(s.guard_list[2].max_size, 3 + 25);
    EXPECT_EQ(s.guard_list[9].max_size, 1 + 25);
    EXPECT_EQ(s.guard_list[8].size, 0);

    // Shortest cube has one code: max(1 - 1, 2).
    EXPECT_EQ(s.min_saved_rang, 2);
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(s.lit_ind[c], -1);
        EXPECT_EQ(s.lit_u[c], 6); // no_lev = n + 1
    }
    EXPECT_EQ(s.index_der, -1);
    EXPECT_EQ(s.index_der_lev[0], NONE);
    EXPECT_NE(s.der_lit, nullptr);
    EXPECT_EQ(s.lev, -1);
    EXPECT_EQ(s.nb_der_lit_lev_0, 0);
    EXPECT_EQ(s.cub_stack_top, 4);
    EXPECT_EQ(s.nb_cub_orig, 5);
    EXPECT_EQ(s.base_begin, 5);
    EXPECT_EQ(s.nb_cub_rev, 5);
    EXPECT_EQ(s.max_nb_cub, 300005);
    EXPECT_EQ(s.keyac, 1u);
    EXPECT_EQ(s.saved_rang, 6);
    EXPECT_EQ(s.saved_rang_2, 40);
    EXPECT_EQ(s.result, 2);
    // The formula is consumed.
    EXPECT_EQ(l.formula.clause_count(), 0);
}

TEST(SetUp, NodePool) {
    Loaded l({{0, 2}}, 4);
    CHpGN56 &s = *l;
    EXPECT_EQ(s.set[0], -1); // the sentinel node 0
    EXPECT_EQ(s.set[1], -1);
    for (int i = 0; i <= 4; ++i) {
        EXPECT_EQ(s.dirki[i], i + 1);
        EXPECT_EQ(s.e_chain[i], 0);
    }
    EXPECT_EQ(s.dir_pnt, 4); // node 5 on top
}

TEST(SetUp, ShortestCubeGivesMinSavedRang) {
    struct Row {
        Codes cubes;
        int want;
    };
    const Row rows[] = {
        {{{0, 2, 4, 6, 8}, {1, 3, 5, 7, 9, 11}}, 4},
        {{{0, 2, 4}, {1, 3, 5, 7, 9}}, 2},
        {{{0, 2, 4, 6}}, 3},
        {{{0}}, 2},
        {{}, 99999},
    };
    for (const Row &r : rows) {
        Loaded l(r.cubes, 6);
        EXPECT_EQ((*l).min_saved_rang, r.want) << r.cubes.size() << " cubes";
    }
}

TEST(SetUp, EmptyFormula) {
    Loaded l({}, 3);
    CHpGN56 &s = *l;
    EXPECT_EQ(s.nb_cub, 0);
    EXPECT_EQ(s.cub_stack_top, -1);
    EXPECT_EQ(s.max_nb_cub, 300000);
    EXPECT_EQ(s.cub_data_pnt[0], 0);
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(s.guard_list[c].size, 0);
}

TEST(SetUp, LevelZeroLimitFromVariableCount) {
    const int rows[][2] = {{1, 2}, {511, 2}, {767, 2}, {768, 3}, {1024, 4}, {2048, 8}};
    for (const auto &r : rows) {
        Loaded l({}, r[0]);
        EXPECT_EQ((*l).lim_lev_0, r[1]) << "n = " << r[0];
    }
}

// =========================================================== propagation

// Code 0 guards cubes 0..3. Cubes 0 and 2 move their guard to a free tail
// code; the removal moves the list's last entry into the freed slot, which
// is examined next. Cubes 3 and 1 become unit in that order, and forcing 15
// makes cube 4 unit after them.
TEST(Propagation, GuardMovesWatchListOrderAndQueue) {
    Loaded l({{0, 2, 4}, {6, 0}, {0, 8, 10, 12}, {0, 14}, {15, 13}}, 8);
    CHpGN56 &s = *l;
    ASSERT_EQ(watch(s, 0), (V{0, 1, 2, 3}));
    s.lev = 1;
    s.lit_n[0] = 777;
    int code = 0;
    EXPECT_FALSE(SubstitutionB3L_B456_rs(code, s));

    // Watch lists after the moves.
    EXPECT_EQ(watch(s, 0), (V{3, 1}));
    EXPECT_EQ(watch(s, 4), (V{0}));
    EXPECT_EQ(watch(s, 10), (V{2}));
    // The old guard takes the freed tail slot.
    EXPECT_EQ(s.guard_0[0], 4);
    EXPECT_EQ(s.guard_1[0], 2);
    EXPECT_EQ(tail_of(s, 0), (V{0}));
    EXPECT_EQ(s.guard_0[2], 10);
    EXPECT_EQ(s.guard_1[2], 8);
    EXPECT_EQ(tail_of(s, 2), (V{0, 12}));

    // Queue order 3, 1, 4; forced codes in that order.
    EXPECT_EQ(V(s.queu, s.queu + s.top_queu_pnt), (V{3, 1, 4}));
    EXPECT_EQ(trail(s), (V{0, 15, 7, 12}));
    EXPECT_EQ(s.lit_ind[0], 3);
    for (int c : {15, 7, 12}) {
        EXPECT_EQ(s.lit_ind[c], 2) << c;
        EXPECT_EQ(s.lit_u[c], 1) << c;
    }
    EXPECT_EQ(s.lit_u[0], 1);
    EXPECT_EQ(s.lit_ul[0], 0);
    EXPECT_EQ(s.lit_ul[15], 1);
    EXPECT_EQ(s.lit_ul[7], 1);
    EXPECT_EQ(s.lit_ul[12], 2); // its reason's set guard 15 has depth 1
    EXPECT_EQ(s.lit_n[15], 3);
    EXPECT_EQ(s.lit_n[7], 1);
    EXPECT_EQ(s.lit_n[12], 4);
    EXPECT_EQ(s.lit_n[0], 777); // a decision's reason is not written
    for (int c : {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 13, 14})
        EXPECT_EQ(s.lit_ind[c], -1) << c;
    EXPECT_EQ(s.nb_der_lit_lev_0, 0);
}

TEST(Propagation, FalsifiedCubesAreSkippedAndFalseTailCodesTaken) {
    Loaded l({{0, 2, 6}, {0, 6, 5}}, 4);
    CHpGN56 &s = *l;
    put(s, 3, 1, 0); // complement of 2: cube 0 is falsified
    put(s, 4, 1, 0); // complement of 5: 5 is false
    s.index_der = -1;
    s.lev = 2;
    int code = 0;
    EXPECT_FALSE(SubstitutionB3L_B456_rs(code, s));
    // Cube 0 is not touched; cube 1 takes the false code 5 as its guard.
    EXPECT_EQ(s.guard_0[0], 0);
    EXPECT_EQ(tail_of(s, 0), (V{6}));
    EXPECT_EQ(watch(s, 0), (V{0}));
    EXPECT_EQ(s.guard_0[1], 5);
    EXPECT_EQ(tail_of(s, 1), (V{0}));
    EXPECT_EQ(watch(s, 5), (V{1}));
    EXPECT_EQ(s.top_queu_pnt, 0);
    EXPECT_EQ(trail(s), (V{0}));

    // Cube 1 is now falsified through its guard 5: setting 6 skips it.
    s.lev = 3;
    code = 6;
    EXPECT_FALSE(SubstitutionB3L_B456_rs(code, s));
    EXPECT_EQ(watch(s, 6), (V{1}));
    EXPECT_EQ(s.top_queu_pnt, 0);
    EXPECT_EQ(trail(s), (V{0, 6}));
    EXPECT_EQ(s.lit_ind[7], -1);
}

TEST(Propagation, EmptyWatchListSetsOnlyTheDecision) {
    Loaded l({{2, 4}}, 3);
    CHpGN56 &s = *l;
    s.lev = 1;
    int code = 1;
    EXPECT_FALSE(SubstitutionB3L_B456_rs(code, s));
    EXPECT_EQ(s.top_queu_pnt, 0);
    EXPECT_EQ(trail(s), (V{1}));
}

TEST(Propagation, ConflictAtOneCodeCubeStopsTheWalk) {
    // Watch list of 2: cube 0 (unit, queued), cube 1 (one code: conflict),
    // cube 2 (would move its guard, but is never reached).
    Loaded l({{0, 2}, {2}, {2, 4, 6}}, 4);
    CHpGN56 &s = *l;
    s.lev = 1;
    int code = 2;
    EXPECT_TRUE(SubstitutionB3L_B456_rs(code, s));
    EXPECT_EQ(s.cub_confl, 1);
    EXPECT_EQ(V(s.queu, s.queu + s.top_queu_pnt), (V{0}));
    EXPECT_EQ(watch(s, 2), (V{0, 1, 2}));
    EXPECT_EQ(s.guard_0[2], 2);
    EXPECT_EQ(tail_of(s, 2), (V{6}));
    // The recipe was derived at once: the cube's single code of level 1.
    EXPECT_EQ(recipe_of(s), (V{2}));
    EXPECT_EQ(s.keyac, 2u);
    EXPECT_EQ(s.cub_gen[1], 1);
    EXPECT_EQ(s.lit_ind[1], -1); // cube 0 was queued but not forced
}

TEST(Propagation, ConflictWhenTheOtherGuardIsSetWhateverTheTail) {
    Loaded l({{0, 4, 7}}, 4);
    CHpGN56 &s = *l;
    put(s, 4, 1, 0);
    s.lev = 2;
    int code = 0;
    EXPECT_TRUE(SubstitutionB3L_B456_rs(code, s));
    EXPECT_EQ(s.cub_confl, 0);
    EXPECT_EQ(s.guard_0[0], 0); // no move to the free tail code 7
    EXPECT_EQ(s.guard_1[0], 4);
    EXPECT_EQ(tail_of(s, 0), (V{7}));
}

TEST(Propagation, ConflictReachedThroughTheQueue) {
    // 0 forces 3 (cube 0); 3 meets cube 1 whose other guard 0 is set.
    Loaded l({{0, 2}, {3, 0}, {3, 4}}, 3);
    CHpGN56 &s = *l;
    s.lev = 1;
    int code = 0;
    EXPECT_TRUE(SubstitutionB3L_B456_rs(code, s));
    EXPECT_EQ(s.cub_confl, 1);
    EXPECT_EQ(trail(s), (V{0, 3}));
    EXPECT_EQ(s.lit_ind[5], -1); // cube 2 was never reached
    // Conflict level 1: both codes of cube 1 are of level 1; 3 (depth 1) is
    // resolved through cube 0, leaving the decision.
    EXPECT_EQ(recipe_of(s), (V{0}));
}

TEST(Propagation, LevelZeroCodesGoToTheirOwnList) {
    Loaded l({{0, 2}}, 2);
    CHpGN56 &s = *l;
    s.lev = 0;
    int code = 0;
    EXPECT_FALSE(SubstitutionB3L_B456_rs(code, s));
    EXPECT_EQ(s.nb_der_lit_lev_0, 2);
    EXPECT_EQ(V(s.der_lit_lev_0, s.der_lit_lev_0 + 2), (V{0, 3}));
    EXPECT_EQ(s.index_der, -1);
    EXPECT_EQ(s.lit_u[3], 0);
    EXPECT_EQ(s.lit_ul[3], 1);
}

TEST(Propagation, ForcedCodeDepth) {
    // Cube 0: guards 0 (free) and 2 (set), tail 4, 6, 8.
    Loaded l({{0, 2, 4, 6, 8}, {2, 0, 4}}, 6);
    CHpGN56 &s = *l;
    put(s, 2, 1, 1);    // the set guard counts at any level
    put(s, 4, 2, 5, 9); // tail codes count only at the given level
    put(s, 6, 1, 9, 9);
    put(s, 8, 2, 3, 9);
    EXPECT_EQ(get_sublit_B456(0, 2, s), 1);
    EXPECT_EQ(s.lit_ind[1], 2);
    EXPECT_EQ(s.lit_u[1], 2);
    EXPECT_EQ(s.lit_ul[1], 6);
    EXPECT_EQ(s.lit_n[1], 0);

    s.lit_ind[1] = -1;
    s.lit_ul[2] = 7; // a deeper set guard of another level wins
    EXPECT_EQ(get_sublit_B456(0, 2, s), 1);
    EXPECT_EQ(s.lit_ul[1], 8);

    // Cube 1: guard_0 set, guard_1 free; the result comes from guard_1.
    s.lit_ind[1] = -1;
    s.lit_ul[2] = 0;
    EXPECT_EQ(get_sublit_B456(1, 2, s), 1);
    EXPECT_EQ(s.lit_ul[1], 6);
    EXPECT_EQ(s.lit_n[1], 1);

    // A guard that has become false: nothing is set.
    s.lit_ind[1] = 2;
    s.lit_ul[0] = 33;
    EXPECT_EQ(get_sublit_B456(0, 2, s), NONE);
    EXPECT_EQ(get_sublit_B456(1, 2, s), NONE);
    EXPECT_EQ(s.lit_ul[0], 33);
    EXPECT_EQ(s.lit_ind[0], -1);
}

TEST(Propagation, TwoCubesQueuedForTheSameCode) {
    // Both cubes become unit through 2; the first forces 3, the second then
    // finds 2 false.
    Loaded l({{0, 2}, {0, 2, 4}}, 3);
    CHpGN56 &s = *l;
    put(s, 4, 1, 0);
    s.index_der = 0;
    s.der_lit[0] = 4;
    s.lev = 1;
    int code = 0;
    EXPECT_FALSE(SubstitutionB3L_B456_rs(code, s));
    EXPECT_EQ(V(s.queu, s.queu + s.top_queu_pnt), (V{0, 1}));
    EXPECT_EQ(trail(s), (V{4, 0, 3}));
    EXPECT_EQ(s.lit_n[3], 0);
}

TEST(Propagation, NewestCubePropagatedOnLanding) {
    Loaded l({{0, 2}}, 3);
    CHpGN56 &s = *l;
    put(s, 2, 1, 0);
    s.index_der = 0;
    s.der_lit[0] = 2;
    s.lev = 1;
    EXPECT_FALSE(SubstitutR456_rs(s));
    EXPECT_EQ(V(s.queu, s.queu + s.top_queu_pnt), (V{0}));
    EXPECT_EQ(trail(s), (V{2, 1}));
    EXPECT_EQ(s.lit_ind[1], 2);
    EXPECT_EQ(s.lit_ul[1], 1);
    EXPECT_EQ(s.lit_n[1], 0);
}

// The queue holds 2n + 20001 cube indices; after a forced code's
// propagation the run ends once the queue's last slot is reached.
void propagate_with_queued(int queued_by_forced_code) {
    Codes cubes = {{0, 2}};
    cubes.resize(static_cast<size_t>(queued_by_forced_code) + 1, V{3, 4});
    Loaded l(cubes, 3);
    CHpGN56 &s = *l;
    s.lev = 1;
    int code = 0;
    EXPECT_FALSE(SubstitutionB3L_B456_rs(code, s));
}

TEST(PropagationFatal, QueueLimit) {
    // n = 3: the last slot has index 20006. One entry for cube 0, then the
    // entries queued while forcing 3.
    propagate_with_queued(20004);
    EXPECT_TRUE(fails_with([] { propagate_with_queued(20005); }, "\n please, stop and increase max_size_queu"));
}

// ===================================================== conflict analysis

// Level 0: 16. Level 1: decision 0; 2 (cube 0) and 12 (cube 1), depth 1.
// Level 2: decision 4; 6 (cube 2, depth 1), 8 (cube 3, depth 2), 10
// (cube 4, depth 1). Cube 5 = {8, 10 | 2, 16} is all set.
struct TwoLevels {
    Loaded l{{{0, 3}, {0, 13}, {7, 4}, {9, 6, 12, 0}, {11, 4, 2, 12}, {8, 10, 2, 16}}, 9};
    CHpGN56 &s = *l;
    TwoLevels() {
        put(s, 16, 0, 1, 99);
        put(s, 0, 1, 0);
        put(s, 2, 1, 1, 0);
        put(s, 12, 1, 1, 1);
        put(s, 4, 2, 0);
        put(s, 6, 2, 1, 2);
        put(s, 8, 2, 2, 3);
        put(s, 10, 2, 1, 4);
        s.lev = 2;
        s.cub_confl = 5;
    }
};

TEST(Analysis, TwoLevelRecipeOrderActivitiesAndUse) {
    TwoLevels t;
    CHpGN56 &s = t.s;
    find_recipe_m_B456_rs(s);
    // 2 from the all-set cube, then 12 and 0 from reason cube 3 in cube
    // order (tail first), then the decision 4 as the implication point.
    EXPECT_EQ(recipe_of(s), (V{2, 12, 0, 4}));
    // Every visit of a code not of level 0 raises its variable, the
    // complements of resolved codes (stale lit_u) included.
    EXPECT_EQ(V(s.var_activity_old, s.var_activity_old + 9), (V{1, 2, 2, 2, 2, 2, 2, 0, 0}));
    EXPECT_EQ(s.max_activity, 2);
    EXPECT_EQ(first(s.cub_gen, 6), (V{0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(s.keyac, 2u);
    // The chains are empty again and every node is back on the free stack.
    EXPECT_EQ(s.dir_pnt, 9);
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(s.e_chain[d], 0) << d;
    V nodes(s.dirki, s.dirki + 10);
    std::sort(nodes.begin(), nodes.end());
    EXPECT_EQ(nodes, (V{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(Analysis, ComplementWithLevelZeroEntryDoesNotRaiseActivity) {
    TwoLevels t;
    CHpGN56 &s = t.s;
    s.lit_u[7] = 0; // stale entry of the complement of 6
    find_recipe_m_B456_rs(s);
    EXPECT_EQ(recipe_of(s), (V{2, 12, 0, 4}));
    EXPECT_EQ(s.var_activity_old[3], 1);
}

TEST(Analysis, StampWrapClearsAllMarks) {
    TwoLevels t;
    CHpGN56 &s = t.s;
    s.keyac = UINT_MAX;
    s.ac[14] = 12345u;
    find_recipe_m_B456_rs(s);
    EXPECT_EQ(s.keyac, 1u);
    EXPECT_EQ(s.ac[14], 0u);
    EXPECT_EQ(s.ac[2], 1u);
    EXPECT_EQ(recipe_of(s), (V{2, 12, 0, 4}));

    set_accum456(s);
    EXPECT_EQ(s.keyac, 1u);
    for (int c = 0; c < 18; ++c)
        EXPECT_EQ(s.ac[c], 0u) << c;
}

TEST(Analysis, ImplicationPointBelowTheDecisionAndChainOrder) {
    // Level 2: decision 4 forces 6; 6 forces 8 (cube 2) and 10 (cube 3),
    // both depth 2. The all-set cube 4 pushes 8 then 10 on chain 2, so 10 is
    // resolved first (its reason brings 0), then 8 (bringing 12); 6 is the
    // implication point.
    Loaded l({{7, 4}, {1, 3}, {9, 6, 12}, {11, 6, 0}, {8, 10, 2}}, 8);
    CHpGN56 &s = *l;
    put(s, 0, 1, 0);
    put(s, 2, 1, 0, 9);
    put(s, 12, 1, 0, 9);
    put(s, 4, 2, 0);
    put(s, 6, 2, 1, 0);
    put(s, 8, 2, 2, 2);
    put(s, 10, 2, 2, 3);
    s.lev = 2;
    s.cub_confl = 4;
    find_recipe_m_B456_rs(s);
    EXPECT_EQ(recipe_of(s), (V{2, 0, 12, 6}));
    EXPECT_EQ(s.cub_gen[0], 0); // the decision's side is never visited
    EXPECT_EQ(s.cub_gen[2], 1);
    EXPECT_EQ(s.cub_gen[3], 1);
    EXPECT_EQ(s.var_activity_old[2], 0);
    EXPECT_EQ(s.var_activity_old[3], 2); // 6 in both reasons; 7 is never visited
}

TEST(Analysis, SingleConflictLevelCodeAndLevelZeroCodes) {
    // The all-set cube {6, 2 | 4, 0} holds one code of level 3: no
    // resolution at all. Cube order is tail first: 4, 0, then 6, 2.
    Loaded l({{6, 2, 4, 0}}, 4);
    CHpGN56 &s = *l;
    put(s, 0, 0, 1, 9); // level 0: left out
    put(s, 2, 1, 0);
    put(s, 4, 2, 0);
    put(s, 6, 3, 4, 9);
    s.lev = 3;
    s.cub_confl = 0;
    find_recipe_m_B456_rs(s);
    EXPECT_EQ(recipe_of(s), (V{4, 2, 6}));
    EXPECT_EQ(s.var_activity_old[0], 0);
    EXPECT_EQ(s.cub_gen[0], 1);
}

TEST(Analysis, ConflictAtLevelZeroGivesTheNoneRecipe) {
    Loaded l({{0, 2}}, 2);
    CHpGN56 &s = *l;
    put(s, 0, 0, 0);
    put(s, 2, 0, 1, 9);
    s.lev = 0;
    s.cub_confl = 0;
    find_recipe_m_B456_rs(s);
    EXPECT_EQ(recipe_of(s), (V{NONE}));
    EXPECT_EQ(s.max_activity, 0);
}

// ========================================================= recipe inclusion

TEST(Inclusion, GuardsBackLevelSortedTailAndCounters) {
    // Input cube 0 = {16, 18 | 19, 17}: the new cube's tail starts at 2.
    Loaded l({{16, 18, 19, 17}}, 10);
    CHpGN56 &s = *l;
    put(s, 9, 5, 0);
    put(s, 14, 7, 2, 9);
    put(s, 3, 5, 1, 9);
    put(s, 6, 7, 4, 9);
    put(s, 11, 2, 0);
    s.lev = 8;
    const V recipe = {9, 14, 3, 6, 11, 0}; // 0: the undone decision, free
    std::copy(recipe.begin(), recipe.end(), s.recipe);
    s.recipe_size = 6;
    s.lit_activity[9] = 4;
    s.cub_gen[1] = 55;
    EXPECT_TRUE(incl_lefttrB456_rs(0, s));

    EXPECT_EQ(s.nb_cub, 2);
    EXPECT_EQ(s.guard_0[1], 0);
    EXPECT_EQ(s.guard_1[1], 14); // the first of the two level-7 codes
    EXPECT_EQ(s.back_lev, 7);
    EXPECT_EQ(s.cub_data_pnt[1], 2);
    EXPECT_EQ(s.cub_data_pnt[2], 6);
    EXPECT_EQ(tail_of(s, 1), (V{3, 6, 9, 11}));
    EXPECT_EQ(watch(s, 0), (V{1}));
    EXPECT_EQ(watch(s, 14), (V{1}));
    EXPECT_EQ(s.cub_gen[1], 0);
    EXPECT_EQ(s.nb_recipe_rev, 1);
    EXPECT_EQ(s.lit_activity[9], 5);
    for (int c : {14, 3, 6, 11, 0})
        EXPECT_EQ(s.lit_activity[c], 1) << c;
    EXPECT_EQ(s.lit_activity[1], 0);
    EXPECT_EQ(s.recipe_len_nb[6], 1);
    EXPECT_EQ(s.recipe_len_lev[6], 8);

    // Landing on level 7: the new cube is unit and forces 1; its depth is
    // one more than the deepest level-7 code (6, depth 4).
    s.lev = 7;
    s.index_der = -1;
    EXPECT_FALSE(SubstitutR456_rs(s));
    EXPECT_EQ(trail(s), (V{1}));
    EXPECT_EQ(s.lit_u[1], 7);
    EXPECT_EQ(s.lit_ul[1], 5);
    EXPECT_EQ(s.lit_n[1], 1);
}

TEST(Inclusion, OneAndTwoCodeRecipes) {
    Loaded l({{4, 6}}, 4);
    CHpGN56 &s = *l;
    s.lev = 1;
    s.recipe[0] = 2;
    s.recipe_size = 1;
    incl_lefttrB456_rs(2, s);
    EXPECT_EQ(s.guard_0[1], 2);
    EXPECT_EQ(s.guard_1[1], NONE);
    EXPECT_EQ(s.back_lev, 0);
    EXPECT_EQ(tail_of(s, 1), V{});
    EXPECT_EQ(watch(s, 2), (V{1}));
    EXPECT_EQ(s.recipe_len_nb[1], 1);
    EXPECT_EQ(s.recipe_len_lev[1], 1);

    put(s, 5, 3, 0);
    s.lev = 4;
    s.recipe[0] = 5;
    s.recipe[1] = 0;
    s.recipe_size = 2;
    incl_lefttrB456_rs(0, s);
    EXPECT_EQ(s.nb_cub, 3);
    EXPECT_EQ(s.guard_0[2], 0);
    EXPECT_EQ(s.guard_1[2], 5);
    EXPECT_EQ(s.back_lev, 3);
    EXPECT_EQ(tail_of(s, 2), V{});
    EXPECT_EQ(s.cub_data_pnt[3], s.cub_data_pnt[2]);
    EXPECT_EQ(watch(s, 5), (V{2}));
    EXPECT_EQ(s.nb_recipe_rev, 2);
}

// A recipe of `size` codes at level `lev`: the decision code of the level
// (free) last, the others set at levels 1 .. lev-1 (or 0 at level 1). The
// decisions of the branch use the last 100 variables.
struct LongRecipe {
    const int vars;
    Loaded l;
    CHpGN56 &s = *l;
    int decision(int level) { return 2 * (vars - 100 + level) + 1; }
    LongRecipe(int lev, int size, int nb_var = 6000) : vars(nb_var), l({}, nb_var) {
        for (int level = 1; level <= lev; ++level) {
            s.lev_lit[level] = decision(level);
            if (level < lev)
                put(s, decision(level), level, 0);
        }
        for (int k = 0; k + 1 < size; ++k) {
            const int c = 2 * k;
            put(s, c, lev > 1 ? 1 + k % (lev - 1) : 0, 1, 9);
            s.recipe[k] = c;
        }
        s.recipe[size - 1] = decision(lev);
        s.recipe_size = size;
        s.lev = lev;
        incl_lefttrB456_rs(decision(lev), s);
    }
};

TEST(Inclusion, LongRecipesAreReplacedByTheDecisions) {
    struct Row {
        int lev;
        int largest_kept; // one code more is replaced
    };
    const Row rows[] = {
        {1, 16},   {2, 24},    {3, 32},    {4, 80},    {6, 112},   {7, 256},   {9, 320},
        {10, 704}, {12, 832},  {13, 1792}, {15, 2048}, {16, 4352}, {18, 4864},
    };
    for (const Row &r : rows) {
        {
            LongRecipe kept(r.lev, r.largest_kept);
            CHpGN56 &s = kept.s;
            EXPECT_EQ(s.recipe_size, r.largest_kept) << "level " << r.lev;
            EXPECT_EQ(s.recipe_len_nb[r.largest_kept], 1) << "level " << r.lev;
            EXPECT_EQ(s.recipe[0], 0) << "level " << r.lev;
        }
        LongRecipe replaced(r.lev, r.largest_kept + 1);
        CHpGN56 &s = replaced.s;
        SCOPED_TRACE(r.lev);
        ASSERT_EQ(s.recipe_size, r.lev);
        for (int level = 1; level <= r.lev; ++level)
            EXPECT_EQ(s.recipe[level - 1], replaced.decision(level));
        // Counted under the new length, with the conflict level.
        EXPECT_EQ(s.recipe_len_nb[r.largest_kept + 1], 0);
        EXPECT_EQ(s.recipe_len_nb[r.lev], 1);
        EXPECT_EQ(s.recipe_len_lev[r.lev], r.lev);
        // The decision cube: unit at the level below, tail sorted.
        EXPECT_EQ(s.guard_0[0], replaced.decision(r.lev));
        if (r.lev == 1) {
            EXPECT_EQ(s.guard_1[0], NONE);
            EXPECT_EQ(s.back_lev, 0);
        } else {
            EXPECT_EQ(s.guard_1[0], replaced.decision(r.lev - 1));
            EXPECT_EQ(s.back_lev, r.lev - 1);
        }
        V want_tail;
        for (int level = 1; level + 1 < r.lev; ++level)
            want_tail.push_back(replaced.decision(level));
        EXPECT_EQ(tail_of(s, 0), want_tail);
        EXPECT_EQ(s.lit_activity[0], 0); // the derived codes were dropped
    }
}

TEST(Inclusion, FromLevel19NothingIsReplaced) {
    // 40000 codes: more than 1024 per level even at level 25.
    for (int lev : {19, 25}) {
        LongRecipe r(lev, 40000, 40100);
        EXPECT_EQ(r.s.recipe_size, 40000);
        EXPECT_EQ(r.s.recipe_len_nb[40000], 1);
        EXPECT_EQ(r.s.cub_data_pnt[1], 39998);
        EXPECT_EQ(r.s.back_lev, lev - 1);
    }
}

TEST(InclusionFatal, CubeAndArenaCapacity) {
    auto include_two_codes = [](int nb_cub, int tail_start, int tail_codes) {
        Loaded l({}, 8);
        CHpGN56 &s = *l;
        s.nb_cub = nb_cub;
        s.cub_data_pnt[nb_cub] = tail_start;
        s.lev = 5;
        for (int k = 0; k < tail_codes + 1; ++k) {
            put(s, 2 * k + 2, 1, 0);
            s.recipe[k] = 2 * k + 2;
        }
        s.recipe[tail_codes + 1] = 0;
        s.recipe_size = tail_codes + 2;
        incl_lefttrB456_rs(0, s);
        return s.nb_cub;
    };
    const int max_nb_cub = 300000;
    const int last_slot = 24000000 - 1;
    EXPECT_EQ(include_two_codes(max_nb_cub - 2, 0, 0), max_nb_cub - 1);
    EXPECT_EQ(include_two_codes(3, last_slot - 1, 1), 4);
    EXPECT_TRUE(fails_with([&] { include_two_codes(max_nb_cub - 1, 0, 0); }, "\n please, increase max_base_inc"));
    EXPECT_TRUE(fails_with([&] { include_two_codes(3, last_slot - 1, 2); }, "\n please, increase max_base_inc"));
}

// Input tails that do not fit the tail store stop set-up with the store's
// message instead of being written past it: 13 clauses of 2,000,000 codes
// leave 25,999,974 tail codes for a store of 24,000,013.
TEST(SetUpFatal, TailsBeyondTheTailStore) {
    auto set_up_long_clauses = [](int nb_clause) {
        const int nb_var = 1000000;
        Formula formula;
        for (int i = 0; i < nb_clause; ++i) {
            for (int c = 0; c < 2 * nb_var; ++c)
                formula.add_code(c);
            formula.close_clause();
        }
        CHpGN56 s(formula, nb_var, 2);
        set_dirki456(s);
        init_B456(formula, s);
    };
    EXPECT_TRUE(fails_with([&] { set_up_long_clauses(13); }, "\n please, increase max_base_inc"));
}

} // namespace
