// The solver's proof steps: which clause each change of the cube base adds
// to or deletes from the DRAT proof. The clause of a cube is the disjunction
// of the input literals of its codes.
//
// Why every added clause follows from the clauses held (RUP):
// - A recipe: asserting the negation of its clause sets all its codes, and
//   unit propagation over the cubes held then repeats the propagation that
//   ended in the recipe's conflict (codes set at the root, which the recipe
//   leaves out, follow by propagation as well, or from their unit clauses).
// - The cube of the branch's decisions that replaces a long recipe: setting
//   the decisions replays the whole branch up to the same conflict.
// - A root unit: the code was set by propagation at the root.
// - A cube shortened by the first review: the codes it loses are set at the
//   root, so their literals are false by the root units written just before.
// - The empty clause: the last cube included conflicts at the root, or a
//   review finds a cube all of whose codes are set at the root.
// Root units are written before the review deletes anything, so deleting the
// cube that once forced a root code never takes a fact away.
#include "solver/base_m456.h"
#include "solver/proof.h"

namespace vetrix {

namespace {

ProofWriter *writer(const CHpGN56 &s) { return s.control ? s.control->proof : nullptr; }

void write_cube(ProofWriter &w, const CHpGN56 &s, int i) {
    for_cube_codes(s, i, [&](int c) { w.literal(c); });
    w.end();
}

} // namespace

void proof_add_cube(CHpGN56 &s, int i) {
    if (ProofWriter *w = writer(s)) {
        w->begin_addition();
        write_cube(*w, s, i);
    }
}

void proof_delete_cube(CHpGN56 &s, int i) {
    if (ProofWriter *w = writer(s)) {
        w->begin_deletion();
        write_cube(*w, s, i);
    }
}

// The clause is added in its short form first (its removed literals are
// false by unit propagation from the root facts), then the original goes.
void proof_input_shortened(CHpGN56 &s, const int *begin, const int *end, const std::vector<int> &kept) {
    ProofWriter *w = writer(s);
    if (!w)
        return;
    w->begin_addition();
    for (int c : kept)
        w->literal(c);
    w->end();
    w->begin_deletion();
    for (const int *c = begin; c != end; ++c)
        w->literal(*c);
    w->end();
}

void proof_root_unit(CHpGN56 &s, int code) {
    if (ProofWriter *w = writer(s)) {
        w->begin_addition();
        w->literal(lit_neg(code)); // code set: its input literal is false
        w->end();
    }
}

// A review changes a cube only when one of its codes, or a complement, is
// set at the root; only then is its clause kept.
void proof_hold_cube(CHpGN56 &s, int i) {
    ProofWriter *w = writer(s);
    if (!w)
        return;
    w->held.clear();
    bool changes = false;
    for_cube_codes(s, i, [&](int c) { changes = changes || !is_free(s.lit_ind, c) || !is_free(s.lit_ind, lit_neg(c)); });
    if (changes)
        for_cube_codes(s, i, [&](int c) { w->held.push_back(c); });
}

void proof_held_rewritten(CHpGN56 &s) {
    ProofWriter *w = writer(s);
    if (!w)
        return;
    // The rewrite left out exactly the codes set at the root.
    const std::vector<int> &held = w->held;
    if (held.empty())
        return; // nothing in it is set at the root
    std::size_t kept = 0;
    for (int c : held)
        kept += is_free(s.lit_ind, c);
    if (kept == held.size())
        return; // the same codes, perhaps in another order: the same clause
    w->begin_addition();
    for (int c : held)
        if (is_free(s.lit_ind, c))
            w->literal(c);
    w->end();
    proof_held_dropped(s);
}

void proof_held_dropped(CHpGN56 &s) {
    if (ProofWriter *w = writer(s)) {
        w->begin_deletion();
        for (int c : w->held)
            w->literal(c);
        w->end();
    }
}

void proof_finish(const SolveControl *control, bool unsat) {
    ProofWriter *w = control ? control->proof : nullptr;
    if (!w)
        return;
    if (unsat) {
        w->begin_addition();
        w->end();
    }
    w->flush();
}

} // namespace vetrix
