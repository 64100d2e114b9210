// Bounded variable elimination before a solve: a variable whose clauses
// give no more non-tautological resolvents than there are clauses is
// replaced by those resolvents. Its clauses go to the extension, from which
// the model gets the variable's value, and from which they come back when
// a caller uses the variable again (in a clause or an assumption): the
// engine restores eliminated clauses on reuse, so no freezing is needed.
//
// The proof gets each resolvent (it follows by unit propagation from its
// two antecedents) but not the deletion of the eliminated clauses: the
// checker keeps them, every later step follows from a subset of what it
// holds, and a restored clause is one it still holds.
#include <algorithm>
#include <unordered_map>

#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

constexpr size_t OCCURRENCE_LIMIT = 16;   // clauses per literal of a candidate, at most
constexpr size_t RESOLVENT_LIMIT = 24;    // literals of a resolvent, at most
constexpr int64_t ELIMINATE_EFFORT = 20000000; // literal visits per round, at most

// The clauses of lit: long irredundant ones from the occurrence lists and
// binary ones from the watch lists, without those satisfied at the root.
// Each is copied whole, literals false at the root included: a root fact
// found earlier in this round is not yet taken out of the clauses, and the
// copy goes to the extension, which must hold the clause as the proof does.
// With an LRAT proof ids gets their IDs, each copy of a binary clause held
// twice its own.
void clauses_of(Internal &s, Lit lit, std::vector<std::vector<Lit>> &out, std::vector<Ref> &refs,
                std::vector<ClauseId> &ids) {
    out.clear();
    refs.clear();
    ids.clear();
    for (Ref ref : s.occurs[static_cast<size_t>(lit)]) {
        const Clause &c = s.at(ref);
        if (c.garbage)
            continue;
        bool satisfied = false;
        for (uint32_t k = 0; k < c.size; ++k)
            satisfied |= s.val(c.lits()[k]) > 0;
        if (!satisfied) {
            out.emplace_back(c.lits(), c.lits() + c.size);
            refs.push_back(ref);
            if (s.lrat)
                ids.push_back(s.clause_id(ref));
        }
    }
    std::unordered_map<uint64_t, size_t> copies; // of each binary clause so far
    for (const Watch &w : s.watches[static_cast<size_t>(lit)])
        if (w.ref == BINARY_WATCH && s.val(w.blocker) <= 0) {
            out.push_back({lit, w.blocker});
            refs.push_back(BINARY_WATCH);
            if (!s.lrat)
                continue;
            const uint64_t key = BinaryIds::key(lit, w.blocker);
            ids.push_back(s.binary_ids.find(key, copies[key]++));
        }
}

// The resolvent of a (holding pivot) and b (holding its complement) in
// out; false when it is a tautology.
bool resolve(Internal &s, const std::vector<Lit> &a, const std::vector<Lit> &b, Lit pivot, std::vector<Lit> &out) {
    out.clear();
    for (Lit lit : a)
        if (lit != pivot) {
            s.seen[static_cast<size_t>(var_of(lit))] = static_cast<uint8_t>(1 + (lit & 1));
            out.push_back(lit);
        }
    bool tautology = false;
    for (Lit lit : b) {
        if (lit == (pivot ^ 1))
            continue;
        const uint8_t mark = s.seen[static_cast<size_t>(var_of(lit))];
        if (mark == 0)
            out.push_back(lit);
        else if (mark != 1 + (lit & 1))
            tautology = true;
    }
    for (Lit lit : a)
        s.seen[static_cast<size_t>(var_of(lit))] = 0;
    return !tautology;
}

} // namespace

// Removes the binary clauses of lit from both watch lists, the scans of
// the other literals' lists counted as the round's effort.
void Internal::remove_binaries_of(Lit lit) {
    std::vector<Watch> &list = watches[static_cast<size_t>(lit)];
    size_t kept = 0;
    for (const Watch &w : list) {
        if (w.ref != BINARY_WATCH) {
            list[kept++] = w;
            continue;
        }
        std::vector<Watch> &other = watches[static_cast<size_t>(w.blocker)];
        ticks += static_cast<int64_t>(other.size()); // a long list (a hub of a chain) is the round's effort
        for (size_t k = 0; k < other.size(); ++k)
            if (other[k].ref == BINARY_WATCH && other[k].blocker == lit) {
                other[k] = other.back();
                other.pop_back();
                break;
            }
        if (lrat) // its ID stays in the proof, with the extension
            binary_ids.erase(BinaryIds::key(lit, w.blocker));
        if (binary_irredundant > 0)
            --binary_irredundant;
        else
            --binary_redundant;
    }
    list.resize(kept);
}

bool Internal::try_eliminate(int v) {
    const Lit pos = 2 * v, neg = pos + 1;
    if (occurs[static_cast<size_t>(pos)].size() > OCCURRENCE_LIMIT ||
        occurs[static_cast<size_t>(neg)].size() > OCCURRENCE_LIMIT)
        return false; // before copying the clauses out
    ticks += static_cast<int64_t>(watches[static_cast<size_t>(pos)].size() + watches[static_cast<size_t>(neg)].size());
    std::vector<std::vector<Lit>> p, n;
    std::vector<Ref> p_refs, n_refs;
    std::vector<ClauseId> p_ids, n_ids;
    clauses_of(*this, pos, p, p_refs, p_ids);
    clauses_of(*this, neg, n, n_refs, n_ids);
    if (p.size() > OCCURRENCE_LIMIT || n.size() > OCCURRENCE_LIMIT)
        return false;
    std::vector<std::vector<Lit>> resolvents;
    std::vector<std::pair<size_t, size_t>> parents; // per resolvent: its clauses in p and n
    std::vector<Lit> r;
    for (size_t i = 0; i < p.size(); ++i)
        for (size_t j = 0; j < n.size(); ++j) {
            ticks += static_cast<int64_t>(p[i].size() + n[j].size());
            if (!resolve(*this, p[i], n[j], pos, r))
                continue;
            if (r.size() > RESOLVENT_LIMIT || resolvents.size() >= p.size() + n.size())
                return false;
            resolvents.push_back(r);
            parents.push_back({i, j});
        }
    for (size_t k = 0; k < resolvents.size(); ++k) {
        const std::vector<Lit> &c = resolvents[k];
        if (lrat) // the clause with pos is unit, then the one with neg falsified
            hints.assign({p_ids[parents[k].first], n_ids[parents[k].second]});
        const ClauseId id = proof_add(c.data(), c.size());
        const size_t held = irredundant.size();
        add_clause(c, id);
        if (irredundant.size() > held) {
            const Ref ref = irredundant.back();
            for (uint32_t k = 0; k < at(ref).size; ++k)
                occurs[static_cast<size_t>(at(ref).lits()[k])].push_back(ref);
        }
    }
    for (int side = 0; side < 2; ++side) {
        const std::vector<std::vector<Lit>> &clauses = side ? n : p;
        const Lit witness = side ? neg : pos;
        if (lrat)
            extension_ids.insert(extension_ids.end(), (side ? n_ids : p_ids).begin(), (side ? n_ids : p_ids).end());
        for (const std::vector<Lit> &c : clauses) {
            extension_start.push_back(extension.size());
            extension.push_back(witness);
            for (Lit lit : c)
                if (lit != witness)
                    extension.push_back(lit);
        }
        for (Ref ref : side ? n_refs : p_refs)
            if (ref != BINARY_WATCH)
                at(ref).garbage = 1; // the proof keeps it (see above)
    }
    if (lrat)
        proof_units(); // a fact the resolvents implied may have a binary clause going now as its reason
    remove_binaries_of(pos);
    remove_binaries_of(neg);
    eliminated[static_cast<size_t>(v)] = 1;
    queue_dequeue(v);
    ++stats.eliminated;
    return true;
}

// At the root, before the first solve and then whenever the formula grew
// by a tenth since the last round (a round costs a pass over the formula,
// too much for every one of many small incremental calls). Variables with
// fewer clauses are tried first; the variables of this call's assumptions
// are left alone.
void Internal::eliminate() {
    const int64_t grown = stats.irredundant_added - eliminated_at;
    if (!eliminate_enabled || inconsistent || grown <= 0 || (eliminated_at > 0 && grown < eliminated_at / 10))
        return;
    ++stats.eliminations;
    backtrack(0);
    if (new_root_facts())
        simplify();
    // A variable with more long clauses on one side than try_eliminate takes
    // is never tried: its literals get no occurrence lists (on a large
    // formula most of the round's memory), the others lists of their size.
    std::vector<uint32_t> held(2 * static_cast<size_t>(nvars), 0);
    for (Ref ref : irredundant)
        if (!at(ref).garbage)
            for (uint32_t k = 0; k < at(ref).size; ++k)
                ++held[static_cast<size_t>(at(ref).lits()[k])];
    const auto tried = [&held](size_t u) {
        return held[2 * u] <= OCCURRENCE_LIMIT && held[2 * u + 1] <= OCCURRENCE_LIMIT;
    };
    occurs.assign(2 * static_cast<size_t>(nvars), {});
    for (size_t lit = 0; lit < occurs.size(); ++lit)
        if (tried(lit / 2))
            occurs[lit].reserve(held[lit]);
    for (Ref ref : irredundant)
        if (!at(ref).garbage)
            for (uint32_t k = 0; k < at(ref).size; ++k) {
                const size_t lit = static_cast<size_t>(at(ref).lits()[k]);
                if (tried(lit / 2))
                    occurs[lit].push_back(ref);
            }
    for (Lit lit : assumptions)
        seen[static_cast<size_t>(var_of(lit))] = 1;
    std::vector<std::pair<size_t, int>> candidates;
    for (int v = 0; v < nvars; ++v) {
        const size_t u = static_cast<size_t>(v);
        const size_t count =
            occurs[2 * u].size() + occurs[2 * u + 1].size() + watches[2 * u].size() + watches[2 * u + 1].size();
        // a variable in no clause gains nothing and would only come back
        if (seen[u] || eliminated[u] || val(2 * v) != 0 || count == 0 || !tried(u))
            continue;
        candidates.push_back({count, v});
    }
    for (Lit lit : assumptions)
        seen[static_cast<size_t>(var_of(lit))] = 0;
    std::sort(candidates.begin(), candidates.end());
    const int64_t stop_at = ticks + ELIMINATE_EFFORT;
    for (const auto &c : candidates) {
        if (inconsistent || ticks > stop_at)
            break;
        if (val(2 * c.second) == 0)
            try_eliminate(c.second);
    }
    if (lrat)
        proof_units(); // the facts found in the round may have learnt clauses going now as their reasons
    for (Ref ref : redundant) {
        Clause &c = at(ref);
        if (c.garbage)
            continue;
        for (uint32_t k = 0; k < c.size; ++k)
            if (eliminated[static_cast<size_t>(var_of(c.lits()[k]))]) {
                mark_garbage(ref);
                break;
            }
    }
    occurs.clear();
    occurs.shrink_to_fit();
    if (new_root_facts())
        simplify(); // also for the units among the resolvents; it collects
    else
        collect();
    eliminated_at = stats.irredundant_added;
}

} // namespace fast
} // namespace vetrix
