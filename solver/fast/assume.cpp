// Assumptions: decided first, one level each, and the failed core found by
// walking back from a falsified assumption to the assumptions it follows
// from; and the propagation of a list of assumptions without search.
#include <cstddef>

#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

// The variables of this call's assumptions are decided by next_assumption
// before any decision from the heap, so once popped they stay out of it for
// the call, and for the next calls while these assume them too: with
// hundreds of assumptions, taking them out of the heap again after every
// backjump and every call would cost more than the search. Those assumed
// in the last call but not in this one go back to the heap.
void Internal::keep_assumed_out_of_heap() {
    for (int v : assumed_vars)
        assumed[static_cast<size_t>(v)] = 0;
    std::vector<int> last;
    last.swap(assumed_vars);
    for (Lit lit : assumptions) {
        const size_t v = static_cast<size_t>(var_of(lit));
        if (!assumed[v]) {
            assumed[v] = 1;
            assumed_vars.push_back(static_cast<int>(v));
        }
    }
    for (int v : last)
        if (!assumed[static_cast<size_t>(v)] && heap_pos[static_cast<size_t>(v)] < 0)
            heap_insert(v);
}

// The next assumption to decide, or NO_LIT when every one holds. One that
// is true already gets an empty level of its own, so that level i + 1 always
// belongs to assumption i. A false one sets failed_now (its core is made).
Lit Internal::next_assumption(bool &failed_now) {
    failed_now = false;
    while (static_cast<size_t>(decision_level()) < assumptions.size()) {
        const Lit lit = assumptions[static_cast<size_t>(decision_level())];
        const int8_t value = val(lit);
        if (value > 0) {
            new_level();
            continue;
        }
        if (value < 0) {
            analyze_failed(lit);
            failed_now = true;
            return NO_LIT;
        }
        return lit;
    }
    return NO_LIT;
}

// Assumption lit is false: the assumptions its complement follows from,
// and lit itself, are the failed core. Every decision at these levels is an
// assumption, so the decisions met walking back are the core.
void Internal::analyze_failed(Lit lit) {
    failed[static_cast<size_t>(lit)] = 1;
    const size_t v0 = static_cast<size_t>(var_of(lit));
    if (level[v0] == 0)
        return;
    seen[v0] = 1;
    const size_t bottom = static_cast<size_t>(control[0]);
    for (size_t i = trail.size(); i > bottom; --i) {
        const Lit p = trail[i - 1];
        const size_t v = static_cast<size_t>(var_of(p));
        if (!seen[v])
            continue;
        seen[v] = 0;
        const uint32_t why = reason[v];
        if (why == NO_REASON) {
            failed[static_cast<size_t>(p)] = 1;
        } else if (is_binary_reason(why)) {
            const size_t u = static_cast<size_t>(var_of(binary_other(why)));
            if (level[u] > 0)
                seen[u] = 1;
        } else {
            const Clause &c = at(why);
            for (uint32_t k = 1; k < c.size; ++k) {
                const size_t u = static_cast<size_t>(var_of(c.lits()[k]));
                if (level[u] > 0)
                    seen[u] = 1;
            }
        }
    }
    seen[v0] = 0;
}

// The root is propagated first, for good (a conflict there makes the
// clauses inconsistent, as in a solve). Each assumption then gets a level
// of its own unless it is true already; the literals set above the root
// are handed out before the levels are undone.
bool Internal::propagate_assumptions(const std::vector<Lit> &lits, std::vector<Lit> &set) {
    set.clear();
    if (!inconsistent && !propagate()) {
        inconsistent = true;
        proof_refutation();
    }
    if (inconsistent)
        return false;
    const size_t root = trail.size();
    bool consistent = true;
    for (size_t k = 0; k < lits.size() && consistent; ++k) {
        const int8_t value = val(lits[k]);
        if (value > 0)
            continue;
        if (value < 0) {
            consistent = false;
            break;
        }
        new_level();
        assign(lits[k], NO_REASON);
        consistent = propagate();
    }
    set.assign(trail.begin() + static_cast<std::ptrdiff_t>(root), trail.end());
    backtrack(0);
    return consistent;
}

} // namespace fast
} // namespace vetrix
