// LRAT: the IDs of the clauses held and the hints of each derived clause.
//
// The hints of a clause C derived from the trail are found by walking back
// from a clause that its negation falsifies (a conflict, or a reason) through
// the reasons of the literals met, depth first: a reason is named after the
// reasons (or, at the root, the unit clauses) of all its other literals, so
// when the checker reaches it every other literal of it is false and it is
// unit; the walk stops at the literals of C, which the negation sets. Every
// variable is met once per walk, so no clause is named twice.
#include <cassert>

#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

// The ID of the clause why: a long clause, or a binary one of implied and
// binary_other(why).
ClauseId Internal::reason_id(uint32_t why, Lit implied) const {
    return is_binary_reason(why) ? binary_id(implied, binary_other(why)) : clause_id(why);
}

void Internal::assign_unit(Lit lit, ClauseId id) {
    assign(lit, NO_REASON);
    if (lrat)
        unit_ids[static_cast<size_t>(var_of(lit))] = id;
}

// A new walk; the root facts it may meet get their unit clauses first.
void Internal::hint_begin() {
    if (units_in_proof < static_cast<size_t>(fixed()))
        proof_units();
    hints.clear();
    if (++hint_stamp == 0) {
        std::fill(hint_met.begin(), hint_met.end(), 0u);
        hint_stamp = 1;
    }
}

void Internal::hint_walk(uint32_t why, Lit implied) {
    if (is_binary_reason(why)) {
        hint_visit(var_of(implied));
        hint_visit(var_of(binary_other(why)));
    } else {
        const Clause &c = at(why);
        for (uint32_t k = 0; k < c.size; ++k)
            hint_visit(var_of(c.lits()[k]));
    }
    hints.push_back(reason_id(why, implied));
}

void Internal::hint_conflict() { hint_walk(conflict, conflict_binary[1]); }

// The frame of variable v, set by its reason: a binary reason's other
// literal is kept in the frame.
void Internal::hint_push(int v) {
    const uint32_t why = reason[static_cast<size_t>(v)];
    assert(why != NO_REASON); // a decision of the walk is a literal of the clause
    if (is_binary_reason(why))
        return hint_stack.push_back({v, binary_other(why), nullptr, nullptr});
    const Clause &c = at(why);
    hint_stack.push_back({v, NO_LIT, c.lits(), c.lits() + c.size});
}

// Names what sets variable v false in the walk: its unit clause at the
// root, else its reason after the reasons of the reason's other literals.
void Internal::hint_visit(int v0) {
    const size_t u0 = static_cast<size_t>(v0);
    if (hint_met[u0] == hint_stamp)
        return;
    hint_met[u0] = hint_stamp;
    if (level[u0] == 0)
        return hints.push_back(unit_ids[u0]);
    hint_stack.clear();
    hint_push(v0);
    while (!hint_stack.empty()) {
        HintFrame &f = hint_stack.back();
        Lit next = f.other;
        if (f.lits != f.end)
            next = *f.lits++;
        else
            f.other = NO_LIT;
        if (next == NO_LIT) {
            const int v = f.var;
            hint_stack.pop_back();
            const Lit lit = vals[2 * static_cast<size_t>(v)] > 0 ? 2 * v : 2 * v + 1;
            hints.push_back(reason_id(reason[static_cast<size_t>(v)], lit));
            continue;
        }
        const int w = var_of(next);
        const size_t u = static_cast<size_t>(w);
        if (hint_met[u] == hint_stamp)
            continue; // the frame's own variable among them
        hint_met[u] = hint_stamp;
        if (level[u] == 0)
            hints.push_back(unit_ids[u]);
        else
            hint_push(w); // f may move: it is read again at the top
    }
}

void Internal::hint_shortened(const Lit *lits, size_t size, ClauseId id) {
    hint_begin();
    for (size_t k = 0; k < size; ++k)
        if (val(lits[k]) < 0)
            hint_visit(var_of(lits[k]));
    hints.push_back(id);
}

} // namespace fast
} // namespace vetrix
