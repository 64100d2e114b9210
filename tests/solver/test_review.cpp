// Reviews of the cube base between passes (review.cpp): the filter rules on
// constructed bases, the simplification by level-0 codes, the rebuild of the
// watch lists and the threshold steps; the LRAT proof of a review.
#include <gtest/gtest.h>

#include <sstream>

#include "solver/proof.h"
#include "support/solver_fixtures.h"
#include "tools/lrat_check.h"

using namespace vetrix;

namespace {

using namespace solver_fixtures;

// Codes set at level 0 between passes, as a pass leaves them.
void set_at_root(CHpGN56 &s, const V &codes) {
    for (int c : codes) {
        s.lit_ind[c] = 2;
        s.lit_u[c] = 0;
        s.der_lit_lev_0[s.nb_der_lit_lev_0++] = c;
    }
}

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

// The LRAT proof of a first review that finds a cube with every code set
// at the root: the root units, each with the reasons that set its code
// (the newest first), the deletions of the falsified cubes, and the empty
// clause from the units and the cube; the checker accepts it.
TEST(Review, LratProofOfACubeWithNoFreeCode) {
    std::ostringstream out;
    ProofWriter w(out, ProofWriter::Format::lrat_text);
    SolveControl control;
    control.proof = &w;
    Formula formula; // x1, -x1 | x2, -x1 | -x2: clauses 1 to 3
    fill_formula(formula, {{0}, {1, 2}, {1, 3}});
    CHpGN56 s(formula, 3, 2);
    s.control = &control;
    proof_begin(s, formula);
    load_cube_base(formula, s);
    append_cube(s, {4, 2}, 0);
    set_at_root(s, {1, 3}); // x1 forced by clause 1, then x2 by clause 2
    put(s, 1, 0, 1, 0);
    put(s, 3, 0, 2, 1);
    base_reviewB456_rs1m(s);
    EXPECT_EQ(s.result, RESULT_UNSAT);
    proof_finish_search(s);
    EXPECT_EQ(out.str(), "4 2 0 1 2 0\n5 1 0 1 0\n5 d 1 2 0\n6 0 5 4 3 0\n");
    const lratcheck::Verdict v = lratcheck::check_proof({{1}, {-1, 2}, {-1, -2}}, out.str());
    EXPECT_TRUE(v.valid && v.refuted) << v.error;
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

} // namespace
