// Conflict analysis (analyze.cpp): the recipe's order, the chains, the
// activities raised and the use counts, on assignments set by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "support/solver_fixtures.h"

using namespace vetrix;

namespace {

using namespace solver_fixtures;

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

} // namespace
