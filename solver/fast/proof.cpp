// Proof steps of the fast engine, in DRAT or LRAT through the project's
// proof writer: literal codes are the writer's codes. An LRAT addition takes
// the next derived ID and the hints the step left in hints.
#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

ClauseId Internal::proof_add(const Lit *lits, size_t size) {
    if (!proof)
        return 0;
    const ClauseId id = lrat ? next_id++ : 0;
    if (lrat)
        proof->begin_addition(id);
    else
        proof->begin_addition();
    for (size_t k = 0; k < size; ++k)
        proof->literal(lits[k]);
    if (lrat)
        proof->end_addition(hints);
    else
        proof->end();
    return id;
}

void Internal::proof_delete(const Lit *lits, size_t size, ClauseId id) {
    if (!proof)
        return;
    if (lrat)
        return proof->deletion(next_id - 1, id);
    proof->begin_deletion();
    for (size_t k = 0; k < size; ++k)
        proof->literal(lits[k]);
    proof->end();
}

void Internal::proof_delete_binary(Lit a, Lit b) {
    const Lit pair[2] = {a, b};
    proof_delete(pair, 2, lrat ? binary_ids.erase(BinaryIds::key(a, b)) : 0);
}

// Writes the root facts not yet written as unit clauses (each follows by
// unit propagation from the clauses held). With LRAT each takes its
// reason's other literals' units, written before it, and the reason; a fact
// of its own unit clause (a unit added, learnt or probed) has its ID.
void Internal::proof_units() {
    const size_t root = static_cast<size_t>(fixed());
    if (proof)
        for (size_t i = units_in_proof; i < root; ++i) {
            const Lit lit = trail[i];
            const size_t v = static_cast<size_t>(var_of(lit));
            if (lrat && unit_ids[v])
                continue;
            if (lrat) {
                hints.clear();
                const uint32_t why = reason[v];
                if (is_binary_reason(why)) {
                    hints.push_back(unit_ids[static_cast<size_t>(var_of(binary_other(why)))]);
                } else {
                    const Clause &c = at(why);
                    for (uint32_t k = 0; k < c.size; ++k)
                        if (c.lits()[k] != lit)
                            hints.push_back(unit_ids[static_cast<size_t>(var_of(c.lits()[k]))]);
                }
                hints.push_back(reason_id(why, lit));
            }
            const ClauseId id = proof_add(&trail[i], 1);
            if (lrat)
                unit_ids[v] = id;
        }
    units_in_proof = root;
}

// The conflict propagate found at the root: every literal of it is false at
// the root.
void Internal::proof_refutation() {
    if (lrat) {
        hint_begin();
        hint_conflict();
    }
    proof_add(nullptr, 0);
}

} // namespace fast
} // namespace vetrix
