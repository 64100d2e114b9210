// Subsumption and strengthening at the root. A clause D whose literals all
// occur in a clause C subsumes C, and C goes. When all of D's literals but
// one occur in C and C holds the complement of that one, C without that
// complement is the resolvent of C and D (self-subsuming resolution): it
// replaces C. Long clauses of the formula and learnt ones of the core and
// middle tiers are tried, shortest first, against the binary clauses of
// their literals' watch lists and against the long clauses tried before
// them; each of those sits in the occurrence list of its literal with the
// fewest occurrences, which D meets whenever it subsumes or strengthens C.
// A learnt clause that subsumes a clause of the formula becomes one of the
// formula. The round's effort is a share of the search's ticks since the
// round before.
//
// Every step keeps the clauses of the formula equivalent to what they were
// (a learnt clause follows from them), so the round is sound across calls
// with nothing frozen: clauses added later and restored eliminated clauses
// meet an equivalent formula. The proof gets a shortened clause before the
// deletion of the clause it replaces. Its LRAT hints are the clauses that
// strengthened C, the last one first, then C: asserting the negation of the
// shortened clause, each of them in turn sets the complement of the literal
// it removed, and C is then falsified. With LRAT the clauses that go leave
// the proof at the round's end, after the root facts found on the way: until
// then they may be reasons in those facts' hints.
// Off by default: on the hard tier it neither pays nor costs (RESULTS.md).
#include <algorithm>

#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

constexpr int64_t SUBSUME_INTERVAL = 2500; // conflicts; the n-th round waits n times as long
constexpr int64_t SUBSUME_EFFORT = 10;     // percent of the search's ticks since the last round
constexpr uint32_t SUBSUME_SIZE = 64;      // longer clauses are not tried

constexpr Lit SUBSUMES = -1; // what clause D does to C: all its literals are in C
constexpr Lit NEITHER = -2;  // neither subsumes nor strengthens

// C's literals are marked in seen (1 + sign). D subsumes C (SUBSUMES), or
// strengthens it: the literal of C that goes is returned.
Lit compare(const Internal &s, const Lit *d, uint32_t size) {
    Lit removed = SUBSUMES;
    for (uint32_t k = 0; k < size; ++k) {
        const uint8_t mark = s.seen[static_cast<size_t>(var_of(d[k]))];
        if (mark == 0)
            return NEITHER;
        if (mark != 1 + (d[k] & 1)) {
            if (removed != SUBSUMES)
                return NEITHER;
            removed = d[k] ^ 1;
        }
    }
    return removed;
}

// One pass over C's literals for a clause that subsumes or strengthens it:
// the binary clauses of each literal's watch list, the long clauses in the
// occurrence lists of the literal and of its complement. Gives what the
// first one found does; promote is the learnt clause that subsumes, if any,
// and by (with LRAT) the ID of the clause found.
Lit find(Internal &s, const std::vector<Lit> &lits, Ref &promote, ClauseId &by) {
    promote = BINARY_WATCH;
    for (Lit lit : lits) {
        const std::vector<Watch> &list = s.watches[static_cast<size_t>(lit)];
        s.ticks += static_cast<int64_t>(list.size());
        for (const Watch &w : list) {
            if (w.ref != BINARY_WATCH)
                continue;
            const uint8_t mark = s.seen[static_cast<size_t>(var_of(w.blocker))];
            if (mark != 0 && s.lrat)
                by = s.binary_id(lit, w.blocker);
            if (mark == 1 + (w.blocker & 1))
                return SUBSUMES;
            if (mark != 0)
                return w.blocker ^ 1;
        }
        for (Lit side : {lit, lit ^ 1})
            for (Ref ref : s.occurs[static_cast<size_t>(side)]) {
                const Clause &d = s.at(ref);
                s.ticks += 1;
                if (d.garbage)
                    continue;
                const Lit result = compare(s, d.lits(), d.size);
                if (result == SUBSUMES && d.learnt)
                    promote = ref;
                if (result != NEITHER && s.lrat)
                    by = s.clause_id(ref);
                if (result != NEITHER)
                    return result;
            }
    }
    return NEITHER;
}

// The literal of lits with the fewest occurrences among the round's clauses.
Lit rarest(const std::vector<uint32_t> &count, const std::vector<Lit> &lits) {
    Lit best = lits[0];
    for (Lit lit : lits)
        if (count[static_cast<size_t>(lit)] < count[static_cast<size_t>(best)])
            best = lit;
    return best;
}

} // namespace

// The first round after an interval too: before, the search's ticks give
// it no budget, and a pass over a large formula would be spent in vain.
bool Internal::subsume_due() const {
    return subsume_enabled && stats.conflicts >= std::max(next_subsume, SUBSUME_INTERVAL);
}

// At the root after simplification: no clause holds an assigned literal and
// no literal has a reason. A unit found on the way is propagated; clauses
// it touches are passed over, and simplification at the end takes them in.
void Internal::subsume() {
    ++stats.subsume_rounds;
    backtrack(0);
    if (new_root_facts())
        simplify();
    const int64_t stop_at = ticks + (ticks - subsume_ticks) * SUBSUME_EFFORT / 100;
    std::vector<Ref> list;
    for (Ref ref : irredundant)
        if (!at(ref).garbage && at(ref).size <= SUBSUME_SIZE)
            list.push_back(ref);
    for (Ref ref : redundant)
        if (!at(ref).garbage && at(ref).size <= SUBSUME_SIZE && at(ref).lbd <= MIDDLE_LBD)
            list.push_back(ref);
    // shortest first; of two alike the clause of the formula first, so it stays
    std::stable_sort(list.begin(), list.end(), [this](Ref a, Ref b) { return at(a).size < at(b).size; });
    std::vector<uint32_t> count(2 * static_cast<size_t>(nvars), 0);
    for (Ref ref : list)
        for (uint32_t k = 0; k < at(ref).size; ++k)
            ++count[static_cast<size_t>(at(ref).lits()[k])];
    occurs.assign(2 * static_cast<size_t>(nvars), {});
    std::vector<Lit> lits;
    std::vector<ClauseId> used; // with LRAT, the IDs of the clauses that strengthened C
    std::vector<Ref> gone;      // with LRAT, the clauses retired (delete_retired)
    bool promoted = false;
    for (Ref ref : list) {
        if (ticks > stop_at || inconsistent)
            break;
        lits.assign(at(ref).lits(), at(ref).lits() + at(ref).size);
        if (std::any_of(lits.begin(), lits.end(), [this](Lit lit) { return val(lit) != 0; }))
            continue; // a unit of this round touches it
        for (Lit lit : lits)
            seen[static_cast<size_t>(var_of(lit))] = static_cast<uint8_t>(1 + (lit & 1));
        Ref promote = BINARY_WATCH;
        Lit result;
        ClauseId by = 0;
        bool strengthened = false;
        used.clear();
        while ((result = find(*this, lits, promote, by)) >= 0) { // strengthened: look again
            seen[static_cast<size_t>(var_of(result))] = 0;
            lits.erase(std::find(lits.begin(), lits.end(), result));
            used.push_back(by);
            strengthened = true;
        }
        for (Lit lit : lits)
            seen[static_cast<size_t>(var_of(lit))] = 0;
        const bool is_learnt = at(ref).learnt;
        if (result == SUBSUMES) {
            ++stats.subsumed;
            if (promote != BINARY_WATCH && !is_learnt) {
                at(promote).learnt = 0;
                promoted = true;
            }
            retire(ref, gone);
            continue;
        }
        if (!strengthened) {
            occurs[static_cast<size_t>(rarest(count, lits))].push_back(ref);
            continue;
        }
        ++stats.strengthened;
        const uint32_t lbd = is_learnt ? std::min<uint32_t>(at(ref).lbd, static_cast<uint32_t>(lits.size())) : 0;
        if (lrat) {
            hints.assign(used.rbegin(), used.rend());
            hints.push_back(clause_id(ref));
        }
        const ClauseId id = proof_add(lits.data(), lits.size());
        retire(ref, gone);
        std::vector<Ref> &store = is_learnt ? redundant : irredundant;
        const size_t held = store.size();
        store_clause(lits, is_learnt, lbd, id);
        if (store.size() > held) // a long one: it may subsume or strengthen later ones
            occurs[static_cast<size_t>(rarest(count, lits))].push_back(store.back());
    }
    occurs.clear();
    occurs.shrink_to_fit();
    if (lrat)
        proof_units(); // the facts found on the way, while their reasons are held
    delete_retired(gone);
    if (promoted) {
        size_t kept = 0;
        for (Ref ref : redundant) {
            if (at(ref).learnt)
                redundant[kept++] = ref;
            else
                irredundant.push_back(ref);
        }
        redundant.resize(kept);
    }
    if (new_root_facts())
        simplify(); // it collects
    else
        collect();
    subsume_ticks = ticks;
    next_subsume = stats.conflicts + SUBSUME_INTERVAL * (stats.subsume_rounds + 1);
}

} // namespace fast
} // namespace vetrix
