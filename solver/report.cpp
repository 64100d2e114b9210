// The solve driver: set-up, passes with reviews between them, model check
// and the verdict in the SAT-competition line format.
#include <cstdio>

#include "solver/base_m456.h"
#include "support/uponeub.h"

namespace {

// A clause with no literal can never be satisfied. Loaded as a cube it would
// carry no guard, so it is answered before the search starts.
bool has_empty_clause(const Dnf &dnf) {
    for (int i = 0; i < dnf.size; ++i)
        if (dnf.data[i].size == 0)
            return true;
    return false;
}

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

void format_verdict(CHpGN56 &s, std::string &out) {
    if (s.result == RESULT_SAT && IsCorrect456_rs(s)) {
        out += "s SATISFIABLE\nv";
        append_model(s, out);
        out += " 0\n";
    } else if (s.result == RESULT_UNSAT) {
        out += "s UNSATISFIABLE\n";
    } else {
        out += "s UNKNOWN\n";
    }
}

SolveOutcome solve_formula(Dnf &dnf, int nb_var, int strategy, const SolveControl *control) {
    SolveOutcome outcome{NONE, std::string(), SolveStats()};
    if (has_empty_clause(dnf)) {
        dnf.SetSize(-1, -1);
        proof_finish(control, true);
        outcome.verdict = "s UNSATISFIABLE\n";
        return outcome;
    }
    CHpGN56 s(dnf, nb_var, strategy);
    s.control = control;
    set_dirki456(s);
    init_B456(dnf, s);
    outcome.pass_value = run_passes(s);
    proof_finish(control, s.result == RESULT_UNSAT);
    recove_state0_B456(s);
    s.der_lit_arr.SetSize(-1, -1);
    s.der_lit = nullptr;
    format_verdict(s, outcome.verdict);
    return outcome;
}

int base_B456_rs(Dnf &dnf, int nb_var, int strategy, SolveStats *stats, const SolveControl *control) {
    const SolveOutcome outcome = solve_formula(dnf, nb_var, strategy, control);
    std::fwrite(outcome.verdict.data(), 1, outcome.verdict.size(), stdout);
    std::fflush(stdout);
    if (stats)
        *stats = outcome.stats;
    return outcome.pass_value;
}
