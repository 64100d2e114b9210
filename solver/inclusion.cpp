// Recipe inclusion: the recipe becomes the newest cube, unit at the level the
// search returns to.
#include <vector>

#include "solver/base_m456.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

// A recipe much longer than the level is deep is replaced by the cube of the
// branch's decisions. Rows: levels up to 3, 6, 9, 12, 15, 18 allow 8, 16, 32,
// 64, 128, 256 codes per level; from level 19 on nothing is replaced.
bool too_long_for_level(int recipe_size, int lev) {
    const int k = lev + 1;
    int factor = 8;
    for (int row_top = 3; row_top <= 18; row_top += 3, factor *= 2)
        if (lev <= row_top && recipe_size > factor * k)
            return true;
    return false;
}

// Hands the clause of cube i (the clause the learnt cube refutes) to the
// caller's learn callback.
void tell_learnt(const CHpGN56 &s, int i) {
    std::vector<int> clause;
    for_cube_codes(s, i, [&](int c) { clause.push_back(code_to_dimacs(c)); });
    (*s.control->learn)(clause);
}

} // namespace

void change_tr456(int lit, CHpGN56 &s) {
    for (int l = 1; l < s.lev; ++l)
        s.recipe[l - 1] = s.lev_lit[l];
    s.recipe[s.lev - 1] = lit;
    s.recipe_size = s.lev;
}

void statistic_recipe456(int n, CHpGN56 &s) {
    ++s.recipe_len_nb[n];
    s.recipe_len_lev[n] += s.lev;
}

bool incl_lefttrB456_rs(int lit, CHpGN56 &s) {
    if (too_long_for_level(s.recipe_size, s.lev))
        change_tr456(lit, s);
    statistic_recipe456(s.recipe_size, s);

    const int n = s.nb_cub;
    const int *recipe = s.recipe;
    const int size = s.recipe_size;
    int g0 = NONE;
    int g1 = NONE;
    int m = 0;
    for (int k = 0; k < size; ++k) {
        const int x = recipe[k];
        if (!is_set(s.lit_ind, x)) {
            g0 = x;
            s.guard_0[n] = x;
            s.guard_list[x].Append(n);
        } else if (s.lit_u[x] > m) {
            m = s.lit_u[x];
            g1 = x; // the first code of the highest level
        }
        ++s.lit_activity[x];
    }
    s.guard_1[n] = g1;
    if (g1 != NONE)
        s.guard_list[g1].Append(n);
    s.back_lev = m;

    const int start = s.cub_data_pnt[n];
    const int tail_len = size - (g1 != NONE ? 2 : 1);
    if (n + 1 >= s.max_nb_cub || start + tail_len > s.max_cub_data_pnt) {
        if (!s.grows)
            AfxMessageBox("\n please, increase max_base_inc");
        reserve_cubes(s, 1, tail_len);
    }
    int p = start;
    for (int k = 0; k < size; ++k) {
        const int x = recipe[k];
        if (x != g0 && x != g1)
            s.cub_set[p++] = x;
    }
    s.cub_gen[n] = 0;
    ++s.nb_cub;
    s.cub_data_pnt[n + 1] = p;
    Uponeub_sh1(s.cub_set + start, p - start);
    proof_add_cube(s, n);
    if (s.control && s.control->learn && size <= s.control->learn_max_size)
        tell_learnt(s, n);
    ++s.nb_recipe_rev;
    ++s.stats.recipes_included;
    return true;
}

} // namespace vetrix
