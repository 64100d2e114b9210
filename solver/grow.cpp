// Growth of an incremental solver's state between calls: more variables,
// more cube slots and tail store, and input clauses added after learnt
// cubes exist. A one-shot solve sizes its capacities once from the formula
// and ends the run when they run out; an incremental solver grows them.
#include <climits>
#include <cstring>
#include <vector>

#include "solver/base_m456.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

template <class A> auto sized(A &arr, int n) -> decltype(arr.data) {
    arr.SetSize(n, -1);
    return arr.data;
}

// Room for cube index `cubes` (and the record past it) and for tail-store
// slots up to tail_end; both capacities at least double when they grow.
void make_room(CHpGN56 &s, long long cubes, long long tail_end) {
    if (cubes + 1 >= s.max_nb_cub) {
        long long room = 2LL * s.max_nb_cub;
        if (room < cubes + 2)
            room = cubes + 2;
        if (room > INT_MAX - 1)
            fatal("wrong array size\n");
        s.max_nb_cub = static_cast<int>(room);
        s.cube_arr.SetSize(s.max_nb_cub + 1, -1);
        s.cubes = s.cube_arr.data;
        s.guard_0.records = s.guard_1.records = s.cub_data_pnt.records = s.cubes;
        s.cub_gen = sized(s.cub_gen_arr, s.max_nb_cub);
        s.irred = sized(s.irred_arr, s.max_nb_cub);
    }
    if (tail_end > s.max_cub_data_pnt) {
        long long room = 2LL * (s.max_cub_data_pnt + 1LL);
        if (room < tail_end + 1)
            room = tail_end + 1;
        if (room > INT_MAX - TAIL_WINDOW)
            fatal("wrong array size\n");
        s.cub_set = sized(s.cub_set_arr, static_cast<int>(room) + TAIL_WINDOW - 1);
        s.max_cub_data_pnt = static_cast<int>(room) - 1;
    }
}

// The codes of clause i that are free at the root, or false when one of its
// literals is true there (a code's complement set): the clause is kept
// by that fact for good.
bool free_codes(const CHpGN56 &s, const Formula &formula, int i, std::vector<int> &codes) {
    codes.clear();
    for (const int *c = formula.clause_begin(i), *e = formula.clause_end(i); c != e; ++c) {
        if (is_set(s.lit_ind, lit_neg(*c)))
            return false;
        if (is_free(s.lit_ind, *c))
            codes.push_back(*c);
    }
    return true;
}

// Moves the learnt cubes [from, nb_cub) up by `cubes` slots and their tails
// up by `tails` codes, renumbering their watch-list entries and the reasons
// of the codes set at the root (a proof's hints walk through them).
void shift_learnt(CHpGN56 &s, int from, int cubes, int tails) {
    const int tail_from = s.cub_data_pnt[from];
    const int tail_end = s.cub_data_pnt[s.nb_cub];
    std::memmove(s.cub_set + tail_from + tails, s.cub_set + tail_from,
                 static_cast<size_t>(tail_end - tail_from) * sizeof(int));
    std::memmove(s.cubes + from + cubes, s.cubes + from,
                 static_cast<size_t>(s.nb_cub + 1 - from) * sizeof(CubeRecord));
    std::memmove(s.cub_gen + from + cubes, s.cub_gen + from, static_cast<size_t>(s.nb_cub - from) * sizeof(int));
    for (int i = from + cubes; i <= s.nb_cub + cubes; ++i)
        s.cub_data_pnt[i] += tails;
    for (int c = 0; c < s.nb_lit; ++c) {
        IntArray &list = s.guard_list[c];
        for (int k = 0; k < list.size; ++k)
            if (list.data[k] >= from)
                list.data[k] += cubes;
        if (!is_free(s.lit_ind, c) && s.lit_n[c] >= from)
            s.lit_n[c] += cubes;
    }
}

// Writes cube i of codes at tail position p, its first two codes its
// guards, as set-up loads an input cube.
void place_cube(CHpGN56 &s, int i, const std::vector<int> &codes, int &p) {
    s.cub_data_pnt[i] = p;
    s.guard_0[i] = codes[0];
    s.guard_list[codes[0]].Append(i);
    s.guard_1[i] = NONE;
    if (codes.size() > 1) {
        s.guard_1[i] = codes[1];
        s.guard_list[codes[1]].Append(i);
    }
    for (size_t k = 2; k < codes.size(); ++k)
        s.cub_set[p++] = codes[k];
    s.cub_gen[i] = 0;
}

} // namespace

void make_growable(CHpGN56 &s) {
    s.grows = true;
    s.limit_queu_pnt = INT_MAX - 1; // the queue grows as it is used
    s.model_arr.SetSize(s.nb_var, -1);
    s.model_values = s.model_arr.data;
    for (int v = 0; v < s.nb_var; ++v)
        s.model_values[v] = MODEL_FREE; // no model yet
    s.assumed_after_arr.SetSize(s.nb_var + 2, -1);
}

void grow_variables(CHpGN56 &s, int n) {
    const int old_n = s.nb_var;
    const int old_no_lev = s.no_lev;
    s.nb_var = n;
    s.nb_lit = code_count(n);
    s.no_lev = n + 1;
    s.lev_lit.SetSize(n + 1, -1);
    s.recipe_len_nb.SetSize(n + 1, -1);
    s.recipe_len_lev.SetSize(n + 1, -1);
    s.index_der_lev.SetSize(n + 2, -1);
    s.frame_code.SetSize(n + 2, -1);
    s.assumed_after_arr.SetSize(n + 2, -1);
    s.recipe = sized(s.recipe_arr, n);
    s.der_lit_lev_0 = sized(s.der_lit_lev_0_arr, n + 2);
    s.der_lit = sized(s.der_lit_arr, n + 1);
    s.lit_activity = sized(s.lit_activity_arr, s.nb_lit);
    s.var_activity_old = sized(s.var_activity_arr, n);
    s.model_values = sized(s.model_arr, n);
    s.ac = sized(s.ac_arr, s.nb_lit);
    s.lit_n = sized(s.lit_n_arr, s.nb_lit);
    s.lit_ind = sized(s.lit_ind_arr, s.nb_lit);
    s.lit_ul = sized(s.lit_ul_arr, s.nb_lit);
    s.lit_u = sized(s.lit_u_arr, s.nb_lit);
    s.e_chain = sized(s.e_chain_arr, n + 1);
    s.set = sized(s.set_arr, 2 * (n + 2));
    s.dirki = sized(s.dirki_arr, n + 1);
    s.guard_list.SetSize(s.nb_lit, -1);
    // "Never set" is one level past the deepest: free codes move with it.
    for (int c = 0; c < code_count(old_n); ++c)
        if (s.lit_u[c] == old_no_lev)
            s.lit_u[c] = s.no_lev;
    for (int v = old_n; v < n; ++v)
        s.model_values[v] = MODEL_FREE; // in no model yet
    for (int c = code_count(old_n); c < s.nb_lit; ++c) {
        s.lit_ind[c] = FREE;
        s.lit_u[c] = s.no_lev;
    }
    set_dirki456(s);
    order_grown(s, old_n);
}

void reserve_cubes(CHpGN56 &s, int cubes, long long tail_codes) {
    make_room(s, static_cast<long long>(s.nb_cub) + cubes, s.cub_data_pnt[s.nb_cub] + tail_codes);
}

bool add_input_cubes(CHpGN56 &s, const Formula &formula, long long line_base) {
    std::vector<std::vector<int>> kept;
    std::vector<long long> ids; // of the kept clauses, for an LRAT proof
    std::vector<int> codes;
    long long tails = 0;
    for (int i = 0; i < formula.clause_count(); ++i) {
        if (!free_codes(s, formula, i, codes))
            continue;
        long long id = line_base + formula.clause_line(i);
        if (codes.size() < static_cast<size_t>(formula.clause_size(i)))
            id = proof_input_shortened(s, formula.clause_begin(i), formula.clause_end(i), codes, id);
        if (codes.empty())
            return false;
        tails += codes.size() > 2 ? static_cast<long long>(codes.size()) - 2 : 0;
        kept.push_back(codes);
        ids.push_back(id);
    }
    if (kept.empty())
        return true;
    const int k = static_cast<int>(kept.size());
    reserve_cubes(s, k, tails);
    const int from = s.nb_cub_orig;
    shift_learnt(s, from, k, static_cast<int>(tails));
    int p = s.cub_data_pnt[from];
    for (int j = 0; j < k; ++j)
        place_cube(s, from + j, kept[static_cast<size_t>(j)], p);
    proof_input_cubes_placed(s, from, ids);
    s.nb_cub += k;
    s.nb_cub_orig += k;
    s.nb_cub_start += k;
    s.nb_cub_rev += k;
    s.base_begin += k;
    s.cub_stack_top += k;
    return true;
}

void undo_to_root(CHpGN56 &s) {
    while (s.index_der >= 0) {
        const int c = s.der_lit[s.index_der--];
        s.lit_ind[c] = FREE;
        order_freed(s, lit_var(c));
    }
    s.lev = -1;
}

} // namespace vetrix
