// The report of a solve: the final check of the model against the cubes
// held, and the verdict it gives.
#include <cstdio>

#include "solver/base_m456.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

// The verdict's model as DIMACS literals: only true variables are listed
// in the v lines, so every other one is false.
void record_model(const CHpGN56 &s, std::vector<int> &model) {
    model.resize(static_cast<size_t>(s.nb_var));
    for (int v = 0; v < s.nb_var; ++v)
        model[static_cast<size_t>(v)] = s.model_values[v] == MODEL_TRUE ? v + 1 : -(v + 1);
}

} // namespace

bool IsCorrect456_rs(CHpGN56 &s) {
    const int *model = s.model_values;
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

bool checked_model(CHpGN56 &s, std::vector<int> &model) {
    if (s.result != RESULT_SAT || !IsCorrect456_rs(s))
        return false;
    record_model(s, model);
    return true;
}

Verdict checked_verdict(CHpGN56 &s, std::vector<int> &model) {
    if (checked_model(s, model))
        return Verdict::satisfiable;
    return s.result == RESULT_UNSAT ? Verdict::unsatisfiable : Verdict::unknown;
}

} // namespace vetrix
