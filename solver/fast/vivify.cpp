// Vivification of learnt clauses: at the root, the literals of a clause are
// made false one at a time; when propagation then finds a conflict, makes
// another literal of the clause true, or makes one false, the clause is
// replaced by a shorter one that follows by unit propagation. The round's
// effort is a share of the search's ticks since the round before.
#include <algorithm>

#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

constexpr int64_t VIVIFY_INTERVAL = 2000; // conflicts; the n-th round waits n times as long
constexpr int64_t VIVIFY_EFFORT = 10;     // percent of the search's ticks since the last round

// With an LRAT proof, the hints of the shorter clause, before the levels
// are undone: the walk from the clause its negation falsifies (why, with
// implied for a binary one) stops at its literals.
void shorter_hints(Internal &s, const std::vector<Lit> &shorter, uint32_t why, Lit implied) {
    if (!s.lrat)
        return;
    s.hint_begin();
    for (Lit lit : shorter)
        s.hint_mark(lit);
    s.hint_walk(why, implied);
}

// The literals of clause ref made false one by one, each at its own level.
// Gives the shorter clause found in shorter (empty when none): the decided
// literals at a conflict, or with a literal that the other clauses made
// true, or the clause without the literals propagation made false.
void vivify_clause(Internal &s, Ref ref, std::vector<Lit> &shorter) {
    shorter.clear();
    const Clause &c = s.at(ref);
    const std::vector<Lit> lits(c.lits(), c.lits() + c.size);
    std::vector<Lit> decided;
    for (Lit lit : lits) {
        const int8_t value = s.val(lit);
        const size_t v = static_cast<size_t>(var_of(lit));
        if (value > 0 && s.level[v] == 0)
            return; // satisfied at the root: simplification removes it
        if (value > 0) {
            if (s.reason[v] == ref)
                break; // the clause itself made it true
            shorter = decided;
            shorter.push_back(lit);
            return shorter_hints(s, shorter, s.reason[v], lit);
        }
        if (value < 0)
            continue; // implied false: it goes
        if (decided.size() + 1 >= lits.size())
            break;
        s.new_level();
        s.assign(lit ^ 1, NO_REASON);
        decided.push_back(lit);
        if (!s.propagate()) {
            shorter = decided;
            return shorter_hints(s, shorter, s.conflict, s.conflict_binary[1]);
        }
    }
    for (Lit lit : lits) {
        const size_t v = static_cast<size_t>(var_of(lit));
        const bool was_decided = s.val(lit) < 0 && s.level[v] > 0 && s.reason[v] == NO_REASON;
        if (s.val(lit) >= 0 || was_decided)
            shorter.push_back(lit);
    }
    if (shorter.size() == lits.size())
        shorter.clear();
    else
        shorter_hints(s, shorter, ref, NO_LIT);
}

} // namespace

bool Internal::vivify_due() const { return vivify_enabled && stats.conflicts >= next_vivify; }

// Candidates: the learnt clauses of the core and middle tiers, lowest glue
// first. The shortened clause replaces the old one in the proof and in the
// store (a new clause; the old one is garbage).
void Internal::vivify() {
    ++stats.vivify_rounds;
    backtrack(0);
    const int64_t budget = (ticks - vivify_ticks) * VIVIFY_EFFORT / 100;
    const int64_t stop_at = ticks + budget;
    std::vector<Ref> list;
    for (Ref ref : redundant) {
        const Clause &c = at(ref);
        if (!c.garbage && c.lbd <= MIDDLE_LBD && !c.vivified)
            list.push_back(ref);
    }
    std::stable_sort(list.begin(), list.end(), [this](Ref a, Ref b) { return at(a).lbd < at(b).lbd; });
    std::vector<Lit> shorter;
    // With LRAT the replaced clauses leave the proof at the round's end: until
    // the collection they are watched, and may be reasons in the hints.
    std::vector<Ref> replaced;
    for (Ref ref : list) {
        if (ticks > stop_at || inconsistent)
            break;
        if (at(ref).garbage)
            continue;
        at(ref).vivified = 1;
        vivify_clause(*this, ref, shorter);
        backtrack(0);
        if (shorter.empty())
            continue;
        ++stats.vivified;
        const uint32_t lbd = std::min<uint32_t>(at(ref).lbd, static_cast<uint32_t>(shorter.size()));
        const ClauseId id = proof_add(shorter.data(), shorter.size());
        if (!locked(ref))
            retire(ref, replaced);
        store_clause(shorter, true, lbd, id);
    }
    delete_retired(replaced);
    collect();
    vivify_ticks = ticks;
    next_vivify = stats.conflicts + VIVIFY_INTERVAL * (stats.vivify_rounds + 1);
}

} // namespace fast
} // namespace vetrix
