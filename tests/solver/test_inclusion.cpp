// Recipe inclusion (inclusion.cpp): the learnt cube's guards, back level and
// sorted tail, the replacement of long recipes by the decisions, and the
// capacity limits of the cube base.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/solver_fixtures.h"
#include "support/fatal.h"

using namespace vetrix;

namespace {

using namespace solver_fixtures;

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

} // namespace
