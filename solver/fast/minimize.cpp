// Recursive minimization of the learnt clause: a literal goes when its
// reason's literals are, recursively, in the clause or implied by it.
#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

// One bit per decision level, folded into 32: a literal whose level bit is
// not among the clause's levels cannot be implied by the clause.
inline uint32_t level_bit(int level) { return 1u << (static_cast<unsigned>(level) & 31u); }

} // namespace

void Internal::minimize() {
    uint32_t levels = 0;
    for (size_t k = 1; k < learnt.size(); ++k)
        levels |= level_bit(level[static_cast<size_t>(var_of(learnt[k]))]);
    size_t kept = 1;
    for (size_t k = 1; k < learnt.size(); ++k) {
        const Lit lit = learnt[k];
        if (reason[static_cast<size_t>(var_of(lit))] == NO_REASON || !removable(lit, levels))
            learnt[kept++] = lit;
        else if (lrat)
            removed.push_back(lit);
    }
    stats.minimized_literals += static_cast<int64_t>(learnt.size() - kept);
    learnt.resize(kept);
}

// True when false literal lit is implied by the literals analysis marked.
// Depth first over the reasons; the variables found implied stay marked
// (to_clear unmarks them after the clause is done), those of a failed
// search are unmarked again at once.
bool Internal::removable(Lit lit, uint32_t levels) {
    stack.clear();
    stack.push_back(lit);
    const size_t top = to_clear.size();
    while (!stack.empty()) {
        const Lit p = stack.back();
        stack.pop_back();
        const uint32_t why = reason[static_cast<size_t>(var_of(p))];
        const Lit *lits;
        int size;
        Lit pair[1];
        if (is_binary_reason(why)) {
            pair[0] = binary_other(why);
            lits = pair;
            size = 1;
        } else {
            const Clause &c = at(why);
            lits = c.lits() + 1; // the first literal is p's complement, the implied one
            size = static_cast<int>(c.size) - 1;
        }
        for (int k = 0; k < size; ++k) {
            const Lit q = lits[k];
            const size_t v = static_cast<size_t>(var_of(q));
            if (seen[v] || level[v] == 0)
                continue;
            if (reason[v] != NO_REASON && (level_bit(level[v]) & levels)) {
                seen[v] = 1;
                stack.push_back(q);
                to_clear.push_back(q);
                continue;
            }
            for (size_t j = top; j < to_clear.size(); ++j)
                seen[static_cast<size_t>(var_of(to_clear[j]))] = 0;
            to_clear.resize(top);
            return false;
        }
    }
    return true;
}

} // namespace fast
} // namespace vetrix
