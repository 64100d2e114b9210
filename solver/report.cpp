// The solve driver: set-up, passes with reviews between them, model check
// and the verdict in the SAT-competition line format.
#include <cstdio>

#include "solver/base_m456.h"
#include "support/uponeub.h"

namespace {

// Runs passes until one ends with a verdict or a review decides the run;
// returns what the last pass returned.
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
    }
}

void append_model(const CHpGN56 &s, std::string &out) {
    char buf[16];
    int written = 0;
    for (int v = 0; v < s.nb_var; ++v) {
        if (s.var_activity_old[v] != 0)
            continue;
        std::snprintf(buf, sizeof buf, " %d", v + 1);
        out += buf;
        if (++written % 15 == 0)
            out += "\nv";
    }
}

// The verdict's model as DIMACS literals: only true variables are listed
// in the v lines, so every other one is false.
void record_model(const CHpGN56 &s, std::vector<int> &model) {
    model.resize(static_cast<size_t>(s.nb_var));
    for (int v = 0; v < s.nb_var; ++v)
        model[static_cast<size_t>(v)] = s.var_activity_old[v] == 0 ? v + 1 : -(v + 1);
}

} // namespace

void recove_state0_B456(CHpGN56 &s) {
    while (s.nb_der_lit_lev_0 != 0)
        s.lit_ind[s.der_lit_lev_0[--s.nb_der_lit_lev_0]] = -1;
}

bool IsCorrect456_rs(CHpGN56 &s) {
    const int *model = s.var_activity_old;
    for (int i = 0; i < s.nb_cub; ++i) {
        bool passes = false;
        for_cube_codes(s, i, [&](int c) { passes = passes || code_true(model, c); });
        if (!passes) {
            cub_info_out456(i, s);
            return false;
        }
    }
    return true;
}

void cub_info_out456(int i, CHpGN56 &s) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "\n c[%d]:", i);
    string_add(s.info, buf);
    for (int k = s.cub_data_pnt[i], e = s.cub_data_pnt[i + 1]; k < e; ++k) {
        std::snprintf(buf, sizeof buf, "%d,", s.cub_set[k]);
        string_add(s.info, buf);
    }
    std::snprintf(buf, sizeof buf, "%d,", s.guard_0[i]);
    string_add(s.info, buf);
    std::snprintf(buf, sizeof buf, "%d,", s.guard_1[i]);
    string_add(s.info, buf);
}

void format_verdict(CHpGN56 &s, std::string &out, std::vector<int> &model) {
    if (s.result == RESULT_SAT && IsCorrect456_rs(s)) {
        out += "s SATISFIABLE\nv";
        append_model(s, out);
        out += " 0\n";
        record_model(s, model);
    } else if (s.result == RESULT_UNSAT) {
        out += "s UNSATISFIABLE\n";
    } else {
        out += "s UNKNOWN\n";
    }
}

SolveOutcome solve_formula(Formula &formula, int nb_var, int strategy, const SolveControl *control) {
    SolveOutcome outcome{NONE, std::string(), SolveStats(), std::vector<int>()};
    // A clause with no literal can never be satisfied. Loaded as a cube it
    // would carry no guard, so it is answered before the search starts.
    if (formula.has_empty_clause() || refuted_by_first_decision(formula, strategy)) {
        formula.clear();
        proof_finish(control, true);
        outcome.verdict = "s UNSATISFIABLE\n";
        return outcome;
    }
    CHpGN56 s(formula, nb_var, strategy);
    s.control = control;
    set_dirki456(s);
    init_B456(formula, s);
    outcome.pass_value = run_passes(s);
    s.stats.cubes_held = static_cast<std::uint64_t>(s.nb_cub);
    outcome.stats = s.stats;
    proof_finish(control, s.result == RESULT_UNSAT);
    recove_state0_B456(s);
    s.der_lit_arr.SetSize(-1, -1);
    s.der_lit = nullptr;
    format_verdict(s, outcome.verdict, outcome.model);
    return outcome;
}

int base_B456_rs(Formula &formula, int nb_var, int strategy, SolveStats *stats, const SolveControl *control) {
    const SolveOutcome outcome = solve_formula(formula, nb_var, strategy, control);
    std::fwrite(outcome.verdict.data(), 1, outcome.verdict.size(), stdout);
    std::fflush(stdout);
    if (stats)
        *stats = outcome.stats;
    return outcome.pass_value;
}
