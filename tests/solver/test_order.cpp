// The activity rescale of the decision order (order.cpp).
#include <gtest/gtest.h>

#include <algorithm>

#include "support/solver_fixtures.h"

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

} // namespace
