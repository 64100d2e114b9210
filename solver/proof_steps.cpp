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
//
// An LRAT proof has the same steps, each addition with its ID and hints
// (solver/lrat.h), each deletion naming the ID of the cube deleted.
#include "solver/base_m456.h"
#include "solver/lrat.h"
#include "solver/proof.h"

namespace vetrix {

namespace {

ProofWriter *writer(const CHpGN56 &s) { return s.control ? s.control->proof : nullptr; }

void write_cube(ProofWriter &w, const CHpGN56 &s, int i) {
    for_cube_codes(s, i, [&](int c) { w.literal(c); });
    w.end();
}

// An LRAT addition of the clause of codes, under a new ID, with the hints
// ids.hints holds; returns the ID.
template <class Codes> ClauseId add_with_hints(ProofWriter &w, LratIds &ids, Codes codes) {
    const ClauseId id = ids.fresh();
    w.begin_addition(id);
    codes([&](int c) { w.literal(c); });
    w.end_addition(ids.hints);
    return id;
}

} // namespace

void proof_begin(CHpGN56 &s, const Formula &formula) {
    ProofWriter *w = writer(s);
    if (w && w->lrat())
        w->ids = std::make_unique<LratIds>(formula, s.nb_lit);
}

void proof_begin_calls(CHpGN56 &s, const Formula &formula) {
    proof_begin(s, formula);
    ProofWriter *w = writer(s);
    if (w && w->ids)
        w->ids->reserve_inputs(LRAT_INPUT_IDS);
}

void proof_codes_grown(CHpGN56 &s) {
    ProofWriter *w = writer(s);
    if (w && w->ids)
        w->ids->fit_codes(s.nb_lit);
}

void proof_input_cubes_placed(CHpGN56 &s, int from, const std::vector<ClauseId> &ids) {
    ProofWriter *w = writer(s);
    if (w && w->ids)
        w->ids->insert_cubes(from, ids, s.nb_cub);
}

void proof_add_cube(CHpGN56 &s, int i) {
    ProofWriter *w = writer(s);
    if (!w)
        return;
    if (w->lrat()) {
        LratIds &ids = *w->ids;
        lrat_recipe_hints(s, ids, i);
        ids.set_cube(i, add_with_hints(*w, ids, [&](auto put) { for_cube_codes(s, i, put); }));
        return;
    }
    w->begin_addition();
    write_cube(*w, s, i);
}

void proof_delete_cube(CHpGN56 &s, int i) {
    ProofWriter *w = writer(s);
    if (!w)
        return;
    if (w->lrat())
        return w->deletion(w->ids->last(), w->ids->cube(i));
    w->begin_deletion();
    write_cube(*w, s, i);
}

// The clause is added in its short form first (its removed literals are
// false by unit propagation from the root facts), then the original goes.
ClauseId proof_input_shortened(CHpGN56 &s, const int *begin, const int *end, const std::vector<int> &kept,
                               ClauseId id) {
    ProofWriter *w = writer(s);
    if (!w)
        return id;
    if (w->ids) {
        LratIds &ids = *w->ids;
        lrat_shortened_hints(s, ids, std::vector<int>(begin, end), id);
        if (kept.empty()) {
            ids.refutation = ids.hints;
            ids.refuted = true;
            return id;
        }
        const ClauseId shortened = add_with_hints(*w, ids, [&](auto put) {
            for (int c : kept)
                put(c);
        });
        w->deletion(ids.last(), id);
        return shortened;
    }
    w->begin_addition();
    for (int c : kept)
        w->literal(c);
    w->end();
    w->begin_deletion();
    for (const int *c = begin; c != end; ++c)
        w->literal(*c);
    w->end();
    return id;
}

void proof_unit_pair_refutes(CHpGN56 &s, int code, ClauseId id) {
    ProofWriter *w = writer(s);
    if (!w || !w->ids)
        return;
    LratIds &ids = *w->ids;
    if (!is_set(s.lit_ind, code)) {
        // The complement's unit clause is still an input cube of its own.
        for (int i = 0; i < s.nb_cub_orig; ++i)
            if (s.guard_0[i] == lit_neg(code) && s.guard_1[i] == NONE && s.cub_data_pnt[i] == s.cub_data_pnt[i + 1]) {
                ids.refutation = {ids.cube(i), id};
                ids.refuted = true;
                return;
            }
    }
    const int codes[] = {code};
    proof_input_shortened(s, codes, codes + 1, {}, id);
}

void proof_root_unit(CHpGN56 &s, int code) {
    ProofWriter *w = writer(s);
    if (!w)
        return;
    if (w->lrat()) {
        LratIds &ids = *w->ids;
        lrat_root_unit_hints(s, ids, code);
        ids.set_unit(code, add_with_hints(*w, ids, [&](auto put) { put(lit_neg(code)); }));
        return;
    }
    w->begin_addition();
    w->literal(lit_neg(code)); // code set: its input literal is false
    w->end();
}

// A review changes a cube only when one of its codes, or a complement, is
// set at the root; only then is its clause kept.
void proof_hold_cube(CHpGN56 &s, int i) {
    ProofWriter *w = writer(s);
    if (!w)
        return;
    if (w->ids)
        w->ids->held = w->ids->cube(i);
    w->held.clear();
    bool changes = false;
    for_cube_codes(s, i, [&](int c) { changes = changes || !is_free(s.lit_ind, c) || !is_free(s.lit_ind, lit_neg(c)); });
    if (changes)
        for_cube_codes(s, i, [&](int c) { w->held.push_back(c); });
}

void proof_held_rewritten(CHpGN56 &s, int j) {
    ProofWriter *w = writer(s);
    if (!w)
        return;
    LratIds *ids = w->ids.get();
    if (ids)
        ids->set_cube(j, ids->held); // unless shortened below
    // The rewrite left out exactly the codes set at the root.
    const std::vector<int> &held = w->held;
    if (held.empty())
        return; // nothing in it is set at the root
    std::size_t kept = 0;
    for (int c : held)
        kept += is_free(s.lit_ind, c);
    if (kept == held.size())
        return; // the same codes, perhaps in another order: the same clause
    if (ids) {
        lrat_shortened_hints(s, *ids, held, ids->held);
        ids->set_cube(j, add_with_hints(*w, *ids, [&](auto put) {
                          for (int c : held)
                              if (is_free(s.lit_ind, c))
                                  put(c);
                      }));
        return w->deletion(ids->last(), ids->held);
    }
    w->begin_addition();
    for (int c : held)
        if (is_free(s.lit_ind, c))
            w->literal(c);
    w->end();
    proof_held_dropped(s);
}

void proof_held_dropped(CHpGN56 &s) {
    if (ProofWriter *w = writer(s)) {
        if (w->ids)
            return w->deletion(w->ids->last(), w->ids->held);
        w->begin_deletion();
        for (int c : w->held)
            w->literal(c);
        w->end();
    }
}

void proof_held_refutes(CHpGN56 &s) {
    ProofWriter *w = writer(s);
    if (!w || !w->ids)
        return;
    LratIds &ids = *w->ids;
    lrat_shortened_hints(s, ids, w->held, ids.held);
    ids.refutation = ids.hints;
    ids.refuted = true;
}

void proof_refuted_at_once(const SolveControl *control, const Formula &formula, ClauseId line_base) {
    ProofWriter *w = control ? control->proof : nullptr;
    if (!w || !w->lrat())
        return;
    if (!w->ids)
        w->ids = std::make_unique<LratIds>(formula, 0);
    LratIds &ids = *w->ids;
    // The empty clause itself, or the unit clause that sets a code and the
    // one of its complement, then all set.
    if (formula.has_empty_clause())
        ids.refutation = {line_base + formula.empty_clause_line()};
    else
        ids.refutation = {line_base + formula.clause_line(0), line_base + formula.clause_line(1)};
    ids.refuted = true;
}

void proof_finish_search(CHpGN56 &s) {
    const bool unsat = s.result == RESULT_UNSAT;
    ProofWriter *w = writer(s);
    if (unsat && w && w->ids && !w->ids->refuted) { // the search's conflict at the root
        LratIds &ids = *w->ids;
        lrat_root_conflict_hints(s, ids, s.cub_confl);
        ids.refutation = ids.hints;
        ids.refuted = true;
    }
    proof_finish(s.control, unsat);
}

void proof_finish(const SolveControl *control, bool unsat) {
    ProofWriter *w = control ? control->proof : nullptr;
    if (!w)
        return;
    if (unsat && w->ids) {
        w->begin_addition(w->ids->fresh());
        w->end_addition(w->ids->refutation);
    } else if (unsat) {
        w->begin_addition();
        w->end();
    }
    w->flush();
}

} // namespace vetrix
