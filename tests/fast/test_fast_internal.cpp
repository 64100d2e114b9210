// An invariant of the fast engine that its answers alone would seldom
// show broken: a reduction in the middle of a search keeps every reason.
#include <gtest/gtest.h>

#include "solver/fast/internal.h"
#include "tools/cnfgen.h"

namespace {

using vetrix::fast::Internal;

// The search stopped by its conflict limit keeps its trail; every learnt
// clause is then a candidate of the reduction, and each reason must stay.
TEST(FastInternal, ReductionKeepsEveryReason) {
    const cnfgen::Formula f = cnfgen::pigeonhole(8);
    Internal s;
    s.grow_vars(f.nb_var);
    for (const cnfgen::Clause &c : f.clauses)
        s.add_original(c);
    int checked = 0;
    for (int round = 0; round < 20; ++round) {
        s.limit_conflicts = s.stats.conflicts + 500;
        ASSERT_EQ(s.search(), 0);
        for (vetrix::fast::Ref ref : s.redundant)
            s.at(ref).used = 0;
        s.reduce();
        for (vetrix::fast::Lit lit : s.trail) {
            const uint32_t why = s.reason[static_cast<size_t>(vetrix::fast::var_of(lit))];
            if (why == vetrix::fast::NO_REASON || vetrix::fast::is_binary_reason(why))
                continue;
            ASSERT_LT(why, s.arena.size());
            EXPECT_FALSE(s.at(why).garbage);
            EXPECT_EQ(s.at(why).lits()[0], lit);
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}

} // namespace
