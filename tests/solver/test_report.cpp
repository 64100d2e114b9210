// The final model check (report.cpp, IsCorrect456_rs) and the failing cube
// it records.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/solver_fixtures.h"

using namespace vetrix;

namespace {

using namespace solver_fixtures;

TEST(ModelCheck, FailingCubeIsRecordedInInfo) {
    Loaded l({{0, 2, 4}, {6}}, 4);
    CHpGN56 &s = *l;
    const V model = {0, 1, 1, 1}; // x1 true, the rest false
    std::copy(model.begin(), model.end(), s.var_activity_old);
    EXPECT_FALSE(IsCorrect456_rs(s));
    EXPECT_EQ(s.info, "\n c[1]:6,-1,");
    s.var_activity_old[3] = 2; // free makes no code true either
    s.info.clear();
    EXPECT_FALSE(IsCorrect456_rs(s));
    EXPECT_EQ(s.info, "\n c[1]:6,-1,");
    s.var_activity_old[3] = 0;
    EXPECT_TRUE(IsCorrect456_rs(s));
    // Negative codes are true when the variable is false.
    Loaded m({{1, 3, 5}}, 3);
    const V all_true = {0, 0, 0};
    std::copy(all_true.begin(), all_true.end(), (*m).var_activity_old);
    EXPECT_FALSE(IsCorrect456_rs(*m));
    EXPECT_EQ((*m).info, "\n c[0]:5,1,3,");
    (*m).var_activity_old[2] = 1;
    EXPECT_TRUE(IsCorrect456_rs(*m));
}

} // namespace
