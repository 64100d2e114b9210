// Conflict analysis: the first unique implication point, the glue of the
// learnt clause, the jump back and the learnt clause's place in the store.
#include <algorithm>

#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

// The number of decision levels among lits (all assigned).
uint32_t Internal::glue(const Lit *lits, int size) {
    ++stamp;
    uint32_t count = 0;
    for (int k = 0; k < size; ++k) {
        const size_t l = static_cast<size_t>(level[static_cast<size_t>(var_of(lits[k]))]);
        if (level_stamp[l] != stamp) {
            level_stamp[l] = stamp;
            ++count;
        }
    }
    return count;
}

// Walks the implication graph back from the conflict over the current
// level until one literal of it is left (the first UIP); the literals of
// lower levels form the rest of the learnt clause. Variables met are
// bumped, their scores at once or their places in the queue at the end;
// learnt clauses met count as used and may get a lower glue.
void Internal::analyze() {
    learnt.clear();
    learnt.push_back(NO_LIT);
    to_clear.clear();
    bumped.clear();
    resolved.clear();
    root_met.clear();
    removed.clear();
    const int current = decision_level();
    const bool by_scores = stable || !queue_enabled; // else the queue bumps them at the end
    int open = 0;
    Lit uip = NO_LIT;
    size_t index = trail.size();
    uint32_t why = conflict;
    for (;;) {
        const Lit *lits;
        int size;
        Lit pair[1];
        if (why == conflict && uip == NO_LIT && is_binary_reason(why)) {
            lits = conflict_binary;
            size = 2;
        } else if (is_binary_reason(why)) {
            pair[0] = binary_other(why);
            lits = pair;
            size = 1;
        } else {
            Clause &c = at(why);
            lits = c.lits();
            size = static_cast<int>(c.size);
            if (c.learnt) {
                if (c.lbd > CORE_LBD) {
                    const uint32_t g = glue(lits, size);
                    if (g < c.lbd)
                        c.lbd = g;
                }
                c.used = c.lbd <= MIDDLE_LBD ? 2 : 1;
            }
        }
        for (int k = 0; k < size; ++k) {
            const Lit lit = lits[k];
            const size_t v = static_cast<size_t>(var_of(lit));
            if (lit == uip || seen[v])
                continue;
            if (level[v] == 0) {
                if (lrat)
                    root_met.push_back(static_cast<int>(v));
                continue;
            }
            seen[v] = 1;
            to_clear.push_back(lit);
            if (by_scores)
                bump(static_cast<int>(v));
            else
                bumped.push_back(static_cast<int>(v));
            if (level[v] == current)
                ++open;
            else
                learnt.push_back(lit);
        }
        do
            --index;
        while (!seen[static_cast<size_t>(var_of(trail[index]))] ||
               level[static_cast<size_t>(var_of(trail[index]))] != current);
        uip = trail[index];
        why = reason[static_cast<size_t>(var_of(uip))];
        if (--open == 0)
            break;
        if (lrat)
            resolved.push_back(uip);
    }
    learnt[0] = uip ^ 1;
    if (minimize_enabled)
        minimize();
    for (Lit lit : to_clear)
        seen[static_cast<size_t>(var_of(lit))] = 0;
    if (by_scores)
        decay();
    else
        queue_bump();
    learn_clause();
}

// The hints of the learnt clause, from what analysis and minimization met:
// the unit clauses of the root facts, then the reasons of the literals
// minimization removed (each after the reasons it rests on, down to the
// clause's literals), then the reasons analysis resolved in the order of
// the trail, and the conflict last. Asserting the clause's negation, each
// is unit in turn and the conflict is falsified.
void Internal::learnt_hints() {
    hint_begin();
    for (Lit lit : learnt)
        hint_mark(lit);
    for (int v : root_met)
        hint_visit(v);
    for (Lit lit : removed)
        hint_visit(var_of(lit));
    for (auto it = resolved.rbegin(); it != resolved.rend(); ++it)
        hints.push_back(reason_id(reason[static_cast<size_t>(var_of(*it))], *it));
    hints.push_back(reason_id(conflict, conflict_binary[1]));
}

// Jumps back to the second highest level of the learnt clause, stores the
// clause and assigns its first literal.
void Internal::learn_clause() {
    const int size = static_cast<int>(learnt.size());
    stats.learnt_literals += size;
    int jump = 0;
    if (size > 1) {
        size_t at_max = 1;
        for (size_t k = 2; k < learnt.size(); ++k)
            if (level[static_cast<size_t>(var_of(learnt[k]))] > level[static_cast<size_t>(var_of(learnt[at_max]))])
                at_max = k;
        std::swap(learnt[1], learnt[at_max]);
        jump = level[static_cast<size_t>(var_of(learnt[1]))];
    }
    const uint32_t lbd = size > 1 ? glue(learnt.data(), size) : 1;
    lbd_fast.update(lbd);
    lbd_slow.update(lbd);
    if (lrat)
        learnt_hints();
    const ClauseId id = proof_add(learnt.data(), learnt.size());
    if (learn && size <= learn_max) {
        learn_buffer.clear();
        for (Lit lit : learnt)
            learn_buffer.push_back(dimacs_of(lit));
        learn(learn_buffer.data(), size);
    }
    update_target_and_best();
    backtrack(jump);
    if (size == 1) {
        ++stats.learnt_units;
        assign_unit(learnt[0], id);
    } else if (size == 2) {
        add_binary(learnt[0], learnt[1], true, id);
        assign(learnt[0], binary_reason(learnt[1]));
    } else {
        const Ref ref = new_clause(learnt.data(), size, true, lbd, id);
        watch_clause(ref);
        assign(learnt[0], ref);
    }
}

} // namespace fast
} // namespace vetrix
