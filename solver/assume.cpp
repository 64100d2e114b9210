// The decisions of an incremental solver's call. The call's assumptions are
// decided first, in the order given, one level each, before the strategy's
// own decisions: a recipe then depends on them only as it depends on any
// decision, so every learnt cube follows from the cubes alone and stays
// valid for later calls. With a warm start the strategy still chooses each
// variable, and the last model gives its polarity.
//
// assumed_after[l] tells how many assumptions were handled once level l made
// its decision (all of them when the strategy decided). The level opened
// next resumes from there: the assumptions before it are set at levels the
// backjumps left intact.
#include <vector>

#include "solver/base_m456.h"

namespace vetrix {

namespace {

// Records in failed_assumed the assumptions whose decisions the setting of
// code (the complement of assumption k's code) rests on, and k itself: a
// walk back over the trail from code through the reasons, as conflict
// analysis walks, down to the decisions, which are all assumptions here.
// Codes set at the root follow from the cubes alone and end the walk.
void record_failed(CHpGN56 &s, int k, int code) {
    s.failed_assumed.clear();
    s.failed_assumed.push_back(k);
    if (s.lit_u[code] == 0)
        return;
    std::vector<char> seen(static_cast<size_t>(s.nb_lit), 0);
    seen[static_cast<size_t>(code)] = 1;
    for (int t = s.index_der; t >= 0; --t) {
        const int c = s.der_lit[t];
        if (!seen[static_cast<size_t>(c)])
            continue;
        if (s.lit_ind[c] == DECISION) {
            for (int j = 0; j < s.nb_assumed; ++j)
                if (s.assumed[j] == c) {
                    s.failed_assumed.push_back(j);
                    break;
                }
            continue;
        }
        // The reason cube was unit with the complement of c as its free
        // code: its other codes were set before c.
        for_cube_codes(s, s.lit_n[c], [&](int u) {
            if (u != lit_neg(c) && s.lit_u[u] > 0)
                seen[static_cast<size_t>(u)] = 1;
        });
    }
}

} // namespace

namespace {

// The strategy's decision, in the polarity the variable has in the last
// model when the call starts warm and the model holds one.
int strategy_decision(CHpGN56 &s) {
    const int c = choose_decision(s);
    if (c == NONE || !s.warm)
        return c;
    const int value = s.model_values[lit_var(c)];
    if (value == MODEL_FREE)
        return c;
    // Setting the code of -v makes -v false: v true.
    return value == MODEL_TRUE ? negative_code(lit_var(c)) : positive_code(lit_var(c));
}

} // namespace

int decide_in_call(CHpGN56 &s) {
    int *after = s.assumed_after_arr.data;
    int k = s.lev > 1 ? after[s.lev - 1] : 0;
    for (; k < s.nb_assumed; ++k) {
        const int a = s.assumed[k];
        if (is_set(s.lit_ind, a))
            continue; // already true
        if (is_set(s.lit_ind, lit_neg(a))) {
            record_failed(s, k, lit_neg(a));
            s.result = RESULT_FAILED;
            return NONE;
        }
        after[s.lev] = k + 1;
        return a;
    }
    after[s.lev] = s.nb_assumed;
    return strategy_decision(s);
}

} // namespace vetrix
