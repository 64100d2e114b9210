// The decision order (order.cpp): the heap against a scan, the activity rescale.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/solver_fixtures.h"

using namespace vetrix;

namespace {

using namespace solver_fixtures;

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

// The decision heap against a scan of every variable, through bumps,
// assignments, undos (in trail order) and rescales on a heap many levels deep.
TEST(Order, HeapAgreesWithAScan) {
    const int n = 300;
    Loaded l({}, n, 1);
    CHpGN56 &s = *l;
    auto scan = [&] {
        int best = NONE;
        for (int v = 0; v < n; ++v)
            if (var_free(s.lit_ind, v) &&
                (best == NONE || s.var_activity_old[v] >= s.var_activity_old[best]))
                best = v;
        return best;
    };
    unsigned seed = 12345;
    auto next = [&](int bound) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned>(bound));
    };
    V trail;
    for (int round = 0; round < 2000; ++round) {
        for (int b = next(6); b > 0; --b) { // an analysis bumps a few variables
            const int v = next(n);
            ++s.var_activity_old[v];
            order_bumped(s, v);
        }
        if (round % 97 == 96)
            resert_var_activityB456(s);
        if (next(4) == 0) { // undo the newest part of the trail
            for (int k = next(static_cast<int>(trail.size()) + 1); k > 0; --k) {
                s.lit_ind[trail.back()] = FREE;
                order_freed(s, lit_var(trail.back()));
                trail.pop_back();
            }
        }
        const int want = scan();
        ASSERT_EQ(order_most_active_free(s), want) << "round " << round;
        if (want != NONE) { // decide it and set a few more by propagation
            for (int v : {want, next(n), next(n)}) {
                if (!var_free(s.lit_ind, v))
                    continue;
                const int code = 2 * v + next(2);
                s.lit_ind[code] = DERIVED;
                trail.push_back(code);
            }
        }
    }
}

} // namespace
