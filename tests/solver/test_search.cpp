// One pass of the search (search.cpp, TautB456_rs): the level-0 and recipe
// limits that end a pass, and the activity rescale at its start.
#include <gtest/gtest.h>

#include "support/solver_fixtures.h"

using namespace vetrix;

namespace {

using namespace solver_fixtures;

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

} // namespace
