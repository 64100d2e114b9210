// Propagation through the watch lists (propagate.cpp) on small hand-built
// cube bases: guard moves, watch-list and queue order, conflicts, level-0
// codes and forced-code depths. Every expected value below was worked out
// by hand from the propagation rules.
#include <gtest/gtest.h>

#include <vector>

#include "support/solver_fixtures.h"
#include "support/fatal.h"

using namespace vetrix;

namespace {

using namespace solver_fixtures;

// The cubes in the propagation queue, in queue order.
V queued(const CHpGN56 &s) {
    V cubes;
    for (int w = 0; w < s.top_queu_pnt; ++w)
        cubes.push_back(s.queu_arr.data[w].cube);
    return cubes;
}

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
    EXPECT_EQ(queued(s), (V{3, 1, 4}));
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

// The walk's tail scan tests the codes a window at a time: every tail
// length around the window's, the first free code at every place or none,
// and free codes right past the tail's end that must not be taken.
TEST(Propagation, FirstFreeTailCodeAcrossWindows) {
    const int n = 12;
    std::vector<CodeState> ind(2 * n, DERIVED); // every code set
    std::vector<int> tails(40);
    for (size_t k = 0; k < tails.size(); ++k)
        tails[k] = static_cast<int>(k % (2 * n));
    const int begin = 3;
    for (int len = 0; len <= 3 * TAIL_WINDOW; ++len) {
        const int end = begin + len;
        for (int k = end + 1; k < end + TAIL_WINDOW; ++k)
            ind[tails[k]] = FREE; // free codes past the end (end stays set: end means none)
        EXPECT_EQ(first_free_code(tails.data(), ind.data(), begin, end), end) << len;
        for (int f = begin; f < end; ++f) {
            ind[tails[f]] = FREE;
            ind[tails[end - 1]] = FREE; // a later free code changes nothing
            EXPECT_EQ(first_free_code(tails.data(), ind.data(), begin, end), f) << len << " " << f;
            ind[tails[f]] = DERIVED;
            ind[tails[end - 1]] = DERIVED;
        }
        for (int k = end + 1; k < end + TAIL_WINDOW; ++k)
            ind[tails[k]] = DERIVED;
    }
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
    EXPECT_EQ(queued(s), (V{0}));
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
    EXPECT_EQ(queued(s), (V{0, 1}));
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
    EXPECT_EQ(queued(s), (V{0}));
    EXPECT_EQ(trail(s), (V{2, 1}));
    EXPECT_EQ(s.lit_ind[1], 2);
    EXPECT_EQ(s.lit_ul[1], 1);
    EXPECT_EQ(s.lit_n[1], 0);
}

// The queue holds up to 2n + 20001 entries; after a forced code's
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

} // namespace
