// One search pass. Each level above the root decides a code and propagates
// it; a conflict undoes the level, includes the recipe and jumps back to the
// level the recipe names, which propagates it and descends again.
//
// The levels are frames of an explicit stack rather than nested calls, so a
// pass can hold nb_var + 2 levels without exhausting the thread's stack. Each
// frame keeps only its decision code; the calls into propagation, branching
// and inclusion happen in the same order, with the same lev, index_der and
// index_der_lev, as in the recursive formulation.
#include "solver/base_m456.h"

namespace vetrix {

void recove_stateB456_rs(CHpGN56 &s) {
    const int mark = s.index_der_lev[s.lev - 1];
    CodeState *ind = s.lit_ind;
    const int *trail = s.der_lit;
    int top = s.index_der;
    while (top > mark) {
        const int c = trail[top--];
        ind[c] = FREE;
        order_freed(s, lit_var(c));
    }
    s.index_der = top;
}

namespace {

// The bounds of the search, as totals of the counters.
bool over_budget(const CHpGN56 &s, const SolveControl &control) {
    return s.stats.conflicts >= control.conflict_limit || s.stats.decisions >= control.decision_limit ||
           s.stats.propagations >= control.propagation_limit;
}

// The caller's stop: the pass ends at once, result stays undecided.
bool must_stop(const CHpGN56 &s) { return s.control && (stop_requested(*s.control) || over_budget(s, *s.control)); }

bool pass_limit_reached(const CHpGN56 &s) {
    return s.nb_recipe_rev > PASS_RECIPE_LIMIT || s.nb_der_lit_lev_0 > s.lim_lev_0;
}

// Undoes the conflict level and includes its recipe; returns the backjump
// level the level hands to its caller.
int leave_after_conflict(CHpGN56 &s, int decision) {
    recove_stateB456_rs(s);
    incl_lefttrB456_rs(decision, s);
    --s.lev;
    s.cub_stack_top = s.nb_cub - 1;
    progress_at_conflict(s);
    return s.back_lev;
}

} // namespace

int TautB456_rs(CHpGN56 &s) {
    int *const frames = s.frame_code.data; // one frame per open level
    int depth = 0;                         // frames open in this pass
    int r;
    ++s.stats.passes;
    for (;;) {
        // ---- a new call: rescale, limits, open a level ----
        if (s.max_activity > s.activity_limit)
            resert_var_activityB456(s);
        if (pass_limit_reached(s)) {
            s.base_begin = s.nb_cub_start < s.nb_cub_rev ? s.nb_cub_start : s.nb_cub_rev;
            s.restart = true;
            r = NONE;
        } else if (++s.lev == 0) {
            frames[depth++] = NONE;
            s.index_der_lev[s.lev] = s.index_der;
            continue; // the root makes no decision: descend
        } else {
            if (must_stop(s))
                return NONE;
            ++s.nb_node;
            int code = s.nb_assumed != 0 || s.warm ? decide_in_call(s) : choose_decision(s);
            if (code == NONE) {
                if (s.result != RESULT_FAILED) {
                    s.result = RESULT_SAT;
                    form_solutionB3_456(s);
                }
                r = NONE;
            } else {
                s.lev_lit[s.lev] = code;
                if (SubstitutionB3L_B456_rs(code, s)) {
                    if (must_stop(s))
                        return NONE;
                    r = leave_after_conflict(s, code);
                } else {
                    frames[depth++] = code;
                    s.index_der_lev[s.lev] = s.index_der;
                    continue; // descend
                }
            }
        }
        // ---- return r to the frames below, until one of them descends ----
        for (;;) {
            if (depth == 0)
                return r;
            if (r < s.lev) { // unwind through this level
                if (s.lev != 0)
                    recove_stateB456_rs(s);
                --s.lev;
                --depth;
                continue;
            }
            // Landing: propagate the newest cube at this level.
            if (!SubstitutR456_rs(s)) {
                s.index_der_lev[s.lev] = s.index_der;
                break; // descend again
            }
            if (s.lev == 0) {
                s.result = RESULT_UNSAT;
                return NONE;
            }
            if (must_stop(s))
                return NONE;
            r = leave_after_conflict(s, frames[--depth]);
        }
    }
}

} // namespace vetrix
