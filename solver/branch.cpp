// Branching rules. Strategy 1 takes the most active free variable (ties to
// the highest-numbered) and the polarity that makes more cubes unit; strategy
// 0 follows the learnt cubes from the newest backwards and falls back to
// strategy 1; strategy 2 takes the lowest free variable, its even code first.
#include "solver/base_m456.h"

namespace vetrix {

bool is_ud456(int cube, CHpGN56 &s) {
    const CodeState *ind = s.lit_ind;
    if (is_set(ind, lit_neg(s.guard_0[cube])))
        return true;
    int g1 = s.guard_1[cube];
    if (g1 != NONE && is_set(ind, lit_neg(g1)))
        return true;
    for (int k = s.cub_data_pnt[cube], e = s.cub_data_pnt[cube + 1]; k < e; ++k)
        if (is_set(ind, lit_neg(s.cub_set[k])))
            return true;
    return false;
}

namespace {

// get_lit_ves_456 stops counting once more than this many cubes turn unit:
// a larger weight changes no polarity choice worth the scan.
constexpr int WEIGHT_CAP = 100;

// is_ves2_and_neud456 for the hot loop of get_lit_ves_456, with the tables
// passed in: inlined there, it reads one cube record and the tail. code is
// one of the cube's guards, so the other one is found without a branch
// (NONE for a cube of one code).
inline bool unit_but_guard(const CubeRecord *cubes, const int *tails, const CodeState *ind, int cube,
                           int code, int &other) {
    const CubeRecord &c = cubes[cube];
    const int o = c.guard_0 ^ c.guard_1 ^ code;
    if (o == NONE)
        return false;
    if (is_set(ind, lit_neg(o)) | is_set(ind, o)) // one test: either is as likely
        return false;
    other = o;
    const int e = cubes[cube + 1].tail;
    return first_free_code(tails, ind, c.tail, e) == e;
}

} // namespace

bool is_ves2_and_neud456(int cube, int code, int &other, CHpGN56 &s) {
    return unit_but_guard(s.cubes, s.cub_set, s.lit_ind, cube, code, other);
}

bool is_ves2_and_neud456(int cube, int code, CHpGN56 &s) {
    int other;
    return is_ves2_and_neud456(cube, code, other, s);
}

int get_lit_ves_456(int code, CHpGN56 &s) {
    const CubeRecord *const cubes = s.cubes;
    const int *const tails = s.cub_set;
    const CodeState *const ind = s.lit_ind;
    int w = 0;
    const IntArray &list = s.guard_list[code];
    for (int k = 0; k < list.size; ++k) {
        int o;
        if (!unit_but_guard(cubes, tails, ind, list.data[k], code, o))
            continue;
        if (++w > WEIGHT_CAP)
            return w;
        const int m = lit_neg(o); // the code the unit cube would force
        const IntArray &next = s.guard_list[m];
        for (int j = 0; j < next.size; ++j)
            if (unit_but_guard(cubes, tails, ind, next.data[j], m, o))
                ++w;
    }
    return w;
}

int choice_va2_456(CHpGN56 &s) {
    const int v = order_most_active_free(s);
    if (v == NONE)
        return NONE;
    const int odd = negative_code(v);
    const int even = positive_code(v);
    const int w1 = get_lit_ves_456(odd, s);
    const int w0 = get_lit_ves_456(even, s);
    if (w0 > w1)
        return even;
    if (w1 > w0)
        return odd;
    return (s.keyac & 1) ? odd : even; // a tie goes by the analysis stamp's lowest bit
}

int choice_stack_lia_456(CHpGN56 &s) {
    const int a = s.nb_cub_orig;
    if (a <= 1)
        return choice_va2_456(s);
    int i = s.cub_stack_top;
    while (i >= a && is_ud456(i, s))
        --i;
    if (i < a) {
        s.cub_stack_top = a - 1;
        return choice_va2_456(s);
    }
    s.cub_stack_top = i;
    const int *act = s.var_activity_old;
    int b = NONE;
    int best_act = -1;
    auto consider = [&](int x) {
        if (act[lit_var(x)] > best_act) {
            best_act = act[lit_var(x)];
            b = x;
        }
    };
    for (int k = s.cub_data_pnt[i], e = s.cub_data_pnt[i + 1]; k < e; ++k)
        if (is_free(s.lit_ind, s.cub_set[k]))
            consider(s.cub_set[k]);
    consider(s.guard_0[i]);
    if (s.guard_1[i] != NONE)
        consider(s.guard_1[i]);
    return s.lit_activity[b] > s.lit_activity[lit_neg(b)] ? lit_neg(b) : b;
}

// The even code of the lowest free variable. The cursor lowest_free only
// moves down when a variable is freed, so a descent scans each variable once.
int choice_stat456(CHpGN56 &s) {
    const CodeState *ind = s.lit_ind;
    int v = s.lowest_free;
    while (v < s.nb_var && !var_free(ind, v))
        ++v;
    s.lowest_free = v;
    return v < s.nb_var ? positive_code(v) : NONE;
}

int choose_decision(CHpGN56 &s) {
    switch (s.strategy) {
    case 0:
        return choice_stack_lia_456(s);
    case 1:
        return choice_va2_456(s);
    default:
        return choice_stat456(s);
    }
}

} // namespace vetrix
