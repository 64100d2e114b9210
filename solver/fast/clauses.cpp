// Variables and the clause store: growing the tables, placing clauses in
// the arena and the watch lists, and taking in the clauses of the formula.
#include <algorithm>
#include <cstdlib>
#include <new>

#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

void Internal::grow_vars(int n) {
    if (n <= nvars)
        return;
    const size_t vars = static_cast<size_t>(n), lits = 2 * vars;
    vals.resize(lits, 0);
    watches.resize(lits);
    failed.resize(lits, 0);
    eliminated.resize(vars, 0);
    assumed.resize(vars, 0);
    level.resize(vars, 0);
    reason.resize(vars, NO_REASON);
    score.resize(vars, 0);
    heap_pos.resize(vars, -1);
    links.resize(vars);
    enqueued.resize(vars, 0);
    saved.resize(vars, 1); // false first
    target.resize(vars, 1);
    best.resize(vars, 1);
    seen.resize(vars, 0);
    model.resize(vars, 0);
    level_stamp.resize(vars + 1, 0);
    trail.reserve(vars);
    if (lrat) {
        unit_ids.resize(vars, 0);
        hint_met.resize(vars, 0);
    }
    const int from = nvars;
    nvars = n;
    for (int v = from; v < n; ++v)
        heap_insert(v);
    for (int v = n - 1; v >= from; --v) // the lowest new variable most recent, as the heap breaks ties
        queue_enqueue(v);
}

namespace {

// Room for more entries beyond those table holds, factor times what that
// needs (room never used costs no memory); a table that must grow again
// grows at least twofold, so that many small batches cost no more copies
// than one large one.
template <class T> void make_room(std::vector<T> &table, size_t more, size_t factor) {
    const size_t needed = table.size() + more;
    if (table.capacity() < needed)
        table.reserve(std::max(factor * needed, 2 * table.capacity()));
}

} // namespace

// The clauses given are kept as given, and go to the arena and its list:
// the arena gets room for as much again (learnt clauses, resolvents).
void Internal::reserve_clauses(size_t clauses, size_t literals) {
    make_room(original, literals + clauses, 1);
    make_room(arena, literals + (HEADER_WORDS + (lrat ? ID_WORDS : 0)) * clauses, 2);
    make_room(irredundant, clauses, 1);
}

Ref Internal::new_clause(const Lit *lits, int size, bool is_learnt, uint32_t lbd, ClauseId id) {
    const size_t ref = arena.size() + (lrat ? ID_WORDS : 0);
    if (ref + HEADER_WORDS + static_cast<size_t>(size) >= BINARY_BIT)
        throw std::bad_alloc(); // offsets must stay below the binary reasons' bit
    arena.resize(ref + HEADER_WORDS + static_cast<size_t>(size));
    if (lrat)
        set_clause_id(static_cast<Ref>(ref), id);
    Clause &c = at(static_cast<Ref>(ref));
    c.size = static_cast<uint32_t>(size);
    c.learnt = is_learnt;
    c.garbage = 0;
    c.moved = 0;
    c.vivified = 0;
    c.used = is_learnt ? (lbd <= MIDDLE_LBD ? 2 : 1) : 0;
    c.lbd = lbd;
    std::copy(lits, lits + size, c.lits());
    (is_learnt ? redundant : irredundant).push_back(static_cast<Ref>(ref));
    return static_cast<Ref>(ref);
}

void Internal::watch_clause(Ref ref) {
    const Lit *lits = at(ref).lits();
    watches[static_cast<size_t>(lits[0])].push_back({lits[1], ref});
    watches[static_cast<size_t>(lits[1])].push_back({lits[0], ref});
}

void Internal::add_binary(Lit a, Lit b, bool is_learnt, ClauseId id) {
    if (lrat)
        binary_ids.insert(BinaryIds::key(a, b), id);
    watches[static_cast<size_t>(a)].push_back({b, BINARY_WATCH});
    watches[static_cast<size_t>(b)].push_back({a, BINARY_WATCH});
    ++(is_learnt ? binary_redundant : binary_irredundant);
}

// A clause that is the reason of its first literal's assignment.
bool Internal::locked(Ref ref) const {
    const Lit first = at(ref).lits()[0];
    return val(first) > 0 && reason[static_cast<size_t>(var_of(first))] == ref;
}

void Internal::mark_garbage(Ref ref) {
    Clause &c = at(ref);
    proof_delete(c.lits(), c.size, lrat ? clause_id(ref) : 0);
    c.garbage = 1;
}

void Internal::retire(Ref ref, std::vector<Ref> &retired) {
    if (!lrat)
        return mark_garbage(ref);
    at(ref).garbage = 1;
    retired.push_back(ref);
}

void Internal::delete_retired(const std::vector<Ref> &retired) {
    for (Ref ref : retired)
        proof_delete(at(ref).lits(), at(ref).size, clause_id(ref));
}

// A clause of the formula, at the root, kept as given for the model check.
void Internal::add_original(const std::vector<int> &dimacs) {
    original.insert(original.end(), dimacs.begin(), dimacs.end());
    original.push_back(0);
    std::vector<Lit> &lits = stack; // free between searches
    lits.clear();
    for (int d : dimacs)
        lits.push_back(lit_of(d));
    add_clause(lits, next_input++);
}

// An irredundant clause at the root: literals repeated or false at the root
// are dropped, a clause with a true literal or a complementary pair is not
// kept. What is kept and differs from the clause given goes to the proof
// (which holds the clause given, of ID id) in its place.
void Internal::add_clause(const std::vector<Lit> &given, ClauseId id) {
    if (inconsistent)
        return;
    ++stats.irredundant_added;
    std::vector<Lit> &lits = learnt; // free between searches
    lits.clear();
    bool satisfied = false;
    for (Lit lit : given) {
        const size_t v = static_cast<size_t>(var_of(lit));
        const uint8_t mark = static_cast<uint8_t>(1 + (lit & 1));
        if (seen[v]) {
            satisfied |= seen[v] != mark; // the complement is in the clause
            continue;
        }
        seen[v] = mark;
        if (val(lit) > 0)
            satisfied = true;
        else if (val(lit) == 0)
            lits.push_back(lit);
    }
    for (Lit lit : given)
        seen[static_cast<size_t>(var_of(lit))] = 0;
    if (satisfied)
        return;
    if (lits.size() != given.size() || lits.empty()) { // the empty clause too: a refutation ends with it
        if (lrat)
            hint_shortened(given.data(), given.size(), id);
        const ClauseId shortened = proof_add(lits.data(), lits.size());
        if (!lits.empty())
            proof_delete(given.data(), given.size(), id);
        id = shortened;
    }
    store_clause(lits, false, 0, id);
    lits.clear();
}

// A clause at the root, none of its literals assigned: the empty clause
// makes the clauses inconsistent, a unit is assigned and propagated, a
// binary clause goes to the watch lists, a longer one to the arena.
void Internal::store_clause(const std::vector<Lit> &lits, bool is_learnt, uint32_t lbd, ClauseId id) {
    if (lits.empty()) {
        inconsistent = true;
    } else if (lits.size() == 1) {
        assign_unit(lits[0], id);
        if (!propagate()) {
            inconsistent = true;
            proof_refutation();
        }
    } else if (lits.size() == 2) {
        add_binary(lits[0], lits[1], is_learnt, id);
    } else {
        watch_clause(new_clause(lits.data(), static_cast<int>(lits.size()), is_learnt, lbd, id));
    }
}

} // namespace fast
} // namespace vetrix
