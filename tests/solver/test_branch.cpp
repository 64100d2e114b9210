// Branching (branch.cpp): the three strategies' choice of the next decision
// on prepared assignments, the polarity weights and the cube tests they use.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/solver_fixtures.h"

using namespace vetrix;

namespace {

using namespace solver_fixtures;

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

} // namespace
