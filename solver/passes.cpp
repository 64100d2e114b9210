// The pass loop: loads the formula into a fresh state, runs search passes
// with a review between two of them until one decides the run, frees the
// root and hands the state to the report for the verdict.

#include "solver/base_m456.h"
#include "solver/fast_lane.h"
#include "support/answer_lines.h"

namespace vetrix {

int run_passes(CHpGN56 &s) {
    for (;;) {
        const int value = TautB456_rs(s);
        if (!s.restart)
            return value;
        if (s.nb_der_lit_lev_0 == 0) {
            base_reviewB456_rs2m(s);
            if (s.result == RESULT_UNSAT)
                return value;
        } else {
            if (s.nb_der_lit_lev_0 > s.lim_lev_0)
                s.lim_lev_0 *= 2;
            base_reviewB456_rs1m(s);
            if (s.result == RESULT_SAT || s.result == RESULT_UNSAT)
                return value;
        }
        progress_between_passes(s);
    }
}

void recove_state0_B456(CHpGN56 &s) {
    while (s.nb_der_lit_lev_0 != 0)
        s.lit_ind[s.der_lit_lev_0[--s.nb_der_lit_lev_0]] = FREE;
}

namespace {

// The verdict of a formula refuted before any cube base is built.
SolveOutcome refuted_at_once(const SolveControl *control) {
    proof_finish(control, true);
    progress_without_search(control);
    SolveOutcome outcome;
    outcome.verdict = Verdict::unsatisfiable;
    return outcome;
}

// True when the formula is answered before the search starts. A clause
// with no literal can never be satisfied; loaded as a cube it would carry
// no guard. A unit clause and the unit clause of its complement give the
// empty clause by propagation, whatever the strategy.
bool refuted_before_search(const Formula &formula) {
    return formula.has_empty_clause() || formula.has_complementary_units();
}

// Runs the pass loop on a loaded state and formats its verdict.
SolveOutcome search_loaded(CHpGN56 &s, const SolveControl *control) {
    SolveOutcome outcome;
    if (control)
        s.progress_told = control->start;
    outcome.pass_value = run_passes(s);
    progress_at_end(s);
    s.stats.cubes_held = static_cast<std::uint64_t>(s.nb_cub);
    outcome.stats = s.stats;
    proof_finish_search(s);
    recove_state0_B456(s);
    s.der_lit_arr.SetSize(-1, -1);
    s.der_lit = nullptr;
    outcome.verdict = checked_verdict(s, outcome.model);
    return outcome;
}

} // namespace

void search_call(CHpGN56 &s, const SolveControl *control) {
    if (control)
        s.progress_told = control->start;
    s.result = RESULT_UNDECIDED;
    run_passes(s);
    progress_at_end(s);
    s.stats.cubes_held = static_cast<std::uint64_t>(s.nb_cub);
    proof_finish_search(s); // while the root conflict's codes are set
    undo_to_root(s);        // a stop leaves the pass's levels open
}

// The one-shot solve: the state is the engine's, built from the formula
// and searched once; the fast engine takes the formula in its own form.
SolveOutcome Engine::solve_once(Formula &formula, int nb_var, const SolveControl *control) {
    if (strategy_ == FAST_STRATEGY)
        return solve_fast(formula, nb_var, control); // consumes formula
    if (refuted_before_search(formula)) {
        proof_refuted_at_once(control, formula);
        formula.clear();
        return refuted_at_once(control);
    }
    nb_var_ = nb_var;
    state_ = std::make_unique<CHpGN56>(formula, nb_var, strategy_);
    CHpGN56 &s = *state_;
    s.control = control;
    proof_begin(s, formula);
    load_cube_base(formula, s);
    return search_loaded(s, control);
}

SolveOutcome Engine::solve_once(std::shared_ptr<const Formula> formula, int nb_var, const SolveControl *control) {
    if (strategy_ == FAST_STRATEGY)
        return solve_fast(*formula, nb_var, control);
    if (refuted_before_search(*formula)) {
        proof_refuted_at_once(control, *formula);
        return refuted_at_once(control);
    }
    nb_var_ = nb_var;
    state_ = std::make_unique<CHpGN56>(*formula, nb_var, strategy_);
    CHpGN56 &s = *state_;
    s.control = control;
    proof_begin(s, *formula);
    load_cube_base_shared(*formula, s);
    formula.reset();
    return search_loaded(s, control);
}

SolveOutcome solve_formula(Formula &formula, int nb_var, int strategy, const SolveControl *control) {
    return Engine(strategy).solve_once(formula, nb_var, control);
}

SolveOutcome solve_shared_formula(std::shared_ptr<const Formula> formula, int nb_var, int strategy,
                                  const SolveControl *control) {
    return Engine(strategy).solve_once(std::move(formula), nb_var, control);
}

int base_B456_rs(Formula &formula, int nb_var, int strategy, SolveStats *stats, const SolveControl *control) {
    const SolveOutcome outcome = solve_formula(formula, nb_var, strategy, control);
    write_answer(answer_lines(outcome.verdict, outcome.model));
    if (stats)
        *stats = outcome.stats;
    return outcome.pass_value;
}

} // namespace vetrix
