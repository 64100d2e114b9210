// Set-up of the solver state (setup.cpp): cubes split into guards and tails,
// watch lists, the node pool and the limits derived from the input. Every
// expected value below was worked out by hand from the set-up rules.
#include <gtest/gtest.h>

#include "support/solver_fixtures.h"
#include "support/fatal.h"

using namespace vetrix;

namespace {

using namespace solver_fixtures;

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
        load_cube_base(formula, s);
    };
    EXPECT_TRUE(fails_with([&] { set_up_long_clauses(13); }, "\n please, increase max_base_inc"));
}

} // namespace
