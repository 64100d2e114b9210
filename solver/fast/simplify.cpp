// Root-level simplification: after new facts at the root, clauses with a
// true literal go and false literals leave the clauses that stay.
#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

constexpr int64_t SIMPLIFY_INTERVAL = 500; // conflicts between two rounds at least (a round reads every clause)

} // namespace

bool Internal::new_root_facts() const {
    return decision_level() == 0 && static_cast<int64_t>(trail.size()) > simplified_fixed;
}

bool Internal::simplify_due() const { return new_root_facts() && stats.conflicts >= next_simplify; }

namespace {

// Drops the binary clauses with a true literal from the watch lists; each
// goes to the proof once, from the list of its smaller literal.
void simplify_binaries(Internal &s) {
    for (size_t lit = 0; lit < s.watches.size(); ++lit) {
        std::vector<Watch> &list = s.watches[lit];
        size_t kept = 0;
        for (const Watch &w : list) {
            if (w.ref != BINARY_WATCH || (s.val(static_cast<Lit>(lit)) <= 0 && s.val(w.blocker) <= 0)) {
                list[kept++] = w;
                continue;
            }
            if (static_cast<Lit>(lit) < w.blocker) {
                s.proof_delete_binary(static_cast<Lit>(lit), w.blocker);
                ++s.stats.removed_clauses;
            }
        }
        list.resize(kept);
    }
}

// The clause without its false literals, or garbage when one is true. The
// watched two are neither: at the root after propagation a false watch
// means a true literal in the clause.
void simplify_clause(Internal &s, Ref ref, std::vector<Lit> &old) {
    Clause &c = s.at(ref);
    if (c.garbage)
        return;
    Lit *lits = c.lits();
    uint32_t kept = 0;
    bool satisfied = false;
    for (uint32_t k = 0; k < c.size; ++k) {
        const int8_t value = s.val(lits[k]);
        satisfied |= value > 0;
        kept += value == 0;
    }
    if (satisfied) {
        s.mark_garbage(ref);
        ++s.stats.removed_clauses;
        return;
    }
    if (kept == c.size)
        return;
    old.assign(lits, lits + c.size);
    const ClauseId id = s.lrat ? s.clause_id(ref) : 0;
    if (s.lrat)
        s.hint_shortened(old.data(), old.size(), id);
    kept = 0;
    for (uint32_t k = 0; k < c.size; ++k)
        if (s.val(lits[k]) == 0)
            lits[kept++] = lits[k];
    c.size = kept;
    const ClauseId shortened = s.proof_add(lits, kept);
    if (s.lrat)
        s.set_clause_id(ref, shortened);
    s.proof_delete(old.data(), old.size(), id);
    if (c.learnt && c.lbd > kept)
        c.lbd = kept;
}

} // namespace

// At the root with everything propagated. The facts go to the proof as
// units first, so that the reasons that implied them may be deleted; their
// reasons are not needed any more (analysis skips the root level).
void Internal::simplify() {
    ++stats.simplifications;
    proof_units();
    for (Lit lit : trail)
        reason[static_cast<size_t>(var_of(lit))] = NO_REASON;
    simplify_binaries(*this);
    std::vector<Lit> old;
    for (Ref ref : irredundant)
        simplify_clause(*this, ref, old);
    for (Ref ref : redundant)
        simplify_clause(*this, ref, old);
    collect();
    simplified_fixed = static_cast<int64_t>(trail.size());
    next_simplify = stats.conflicts + SIMPLIFY_INTERVAL;
    stats.fixed = static_cast<int64_t>(trail.size());
}

} // namespace fast
} // namespace vetrix
