// Conflict analysis: derives the recipe (learnt cube) of an all-set cube by
// walking back through the reasons of the conflict level's codes, deepest
// implication depth first, until one code of that level is left pending (the
// first unique implication point).
//
// The conflict level's pending codes wait on one chain per implication depth;
// chains are LIFO lists on a fixed node pool, so the order in which codes are
// resolved (and the recipe's order) follows push order exactly.
#include "solver/base_m456.h"

namespace vetrix {

namespace {

inline void push_chain(CHpGN56 &s, int d, int x) {
    int node = s.dirki[s.dir_pnt--];
    s.set[2 * node] = s.e_chain[d];
    s.set[2 * node + 1] = x;
    s.e_chain[d] = node;
}

inline int take_chain(CHpGN56 &s, int d) {
    int node = s.e_chain[d];
    if (s.set[2 * node] == CHAIN_END)
        return NONE; // the sentinel: chain empty
    s.e_chain[d] = s.set[2 * node];
    s.dirki[++s.dir_pnt] = node;
    return s.set[2 * node + 1];
}

inline void append_recipe(CHpGN56 &s, int x) { s.recipe[s.recipe_size++] = x; }

} // namespace

void set_accum456(CHpGN56 &s) {
    for (int c = 0; c < s.nb_lit; ++c)
        s.ac[c] = 0;
    s.keyac = 1;
}

void recove_dirki456(int d, CHpGN56 &s) {
    set_chain456(d, s);
    s.dir_pnt = s.nb_var;
}

void set_chain456(int n, CHpGN56 &s) {
    for (int d = 0; d < n; ++d)
        s.e_chain[d] = 0;
}

void find_recipe_m_B456_rs(CHpGN56 &s) {
    const int c0 = s.cub_confl;
    const int lev = s.lev;
    const int *lit_u = s.lit_u;
    const int *lit_ul = s.lit_ul;
    int *act = s.var_activity_old;
    ++s.stats.conflicts;
    ++s.cub_gen[c0];
    s.recipe_size = 0;
    int pending = 0;

    int dmax = 0;
    for_cube_codes(s, c0, [&](int x) {
        if (lit_u[x] == lev && lit_ul[x] > dmax)
            dmax = lit_ul[x];
    });
    ++s.keyac;
    for_cube_codes(s, c0, [&](int x) {
        if (lit_u[x] == 0)
            return;
        if (s.keyac == 0)
            set_accum456(s);
        s.ac[x] = s.keyac;
        if (++act[lit_var(x)] > s.max_activity)
            ++s.max_activity;
        order_bumped(s, lit_var(x));
        if (lit_u[x] == lev) {
            push_chain(s, lit_ul[x], x);
            ++pending;
        } else {
            append_recipe(s, x);
        }
    });

    int d = dmax;
    int l = take_chain(s, d);
    while (pending > 1 && d != 0) {
        const int reason = s.lit_n[l];
        ++s.cub_gen[reason];
        const int resolved = lit_neg(l);
        for_cube_codes(s, reason, [&](int u) {
            if (lit_u[u] == 0)
                return;
            // The resolved code's complement is free and its lit_u stale, but
            // its variable's activity still rises here.
            int a = ++act[lit_var(u)];
            if (a > s.max_activity)
                s.max_activity = a;
            order_bumped(s, lit_var(u));
            if (u == resolved)
                return;
            if (s.keyac == 0)
                set_accum456(s);
            if (s.ac[u] == s.keyac)
                return;
            s.ac[u] = s.keyac;
            if (lit_u[u] == lev) {
                push_chain(s, lit_ul[u], u);
                ++pending;
            } else {
                append_recipe(s, u);
            }
        });
        --pending;
        l = take_chain(s, d);
        while (l == NONE && d != 0)
            l = take_chain(s, --d);
    }
    append_recipe(s, l);
    recove_dirki456(d, s);
}

} // namespace vetrix
