// Reduction of the learnt clauses by tiers: core clauses (glue at most
// CORE_LBD) stay; middle and local clauses that were not used since the
// last reductions are candidates, and the worst of them go.
#include <algorithm>
#include <cmath>

#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

constexpr int64_t REDUCE_INTERVAL = 300; // conflicts; the n-th reduction waits sqrt(n) times as long
constexpr int REDUCE_PERCENT = 75;       // of the candidates, the share deleted

} // namespace

bool Internal::reduce_due() const { return stats.conflicts >= next_reduce; }

// Candidates sorted worst first: higher glue, then longer, then newer (the
// offset breaks every tie, so the order is the same everywhere).
void Internal::reduce() {
    ++stats.reductions;
    candidates.clear();
    for (Ref ref : redundant) {
        Clause &c = at(ref);
        if (c.garbage || c.lbd <= CORE_LBD)
            continue;
        if (c.used) {
            --c.used;
            continue;
        }
        if (!locked(ref))
            candidates.push_back(ref);
    }
    std::sort(candidates.begin(), candidates.end(), [this](Ref a, Ref b) {
        const Clause &x = at(a), &y = at(b);
        if (x.lbd != y.lbd)
            return x.lbd > y.lbd;
        if (x.size != y.size)
            return x.size > y.size;
        return a > b;
    });
    const size_t target = candidates.size() * REDUCE_PERCENT / 100;
    for (size_t k = 0; k < target; ++k)
        mark_garbage(candidates[k]);
    collect();
    next_reduce = stats.conflicts +
                  static_cast<int64_t>(REDUCE_INTERVAL * std::sqrt(static_cast<double>(stats.reductions + 1)));
}

} // namespace fast
} // namespace vetrix
