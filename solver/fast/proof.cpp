// Proof steps of the fast engine, in DRAT through the project's proof
// writer: literal codes are the writer's codes.
#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

void Internal::proof_add(const Lit *lits, size_t size) {
    if (!proof)
        return;
    proof->begin_addition();
    for (size_t k = 0; k < size; ++k)
        proof->literal(lits[k]);
    proof->end();
}

void Internal::proof_delete(const Lit *lits, size_t size) {
    if (!proof)
        return;
    proof->begin_deletion();
    for (size_t k = 0; k < size; ++k)
        proof->literal(lits[k]);
    proof->end();
}

// Writes the root facts not yet written as unit clauses (each follows by
// unit propagation from the clauses held).
void Internal::proof_units() {
    const size_t root = static_cast<size_t>(fixed());
    if (proof)
        for (size_t i = units_in_proof; i < root; ++i)
            proof_add(&trail[i], 1);
    units_in_proof = root;
}

} // namespace fast
} // namespace vetrix
