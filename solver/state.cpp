// The state of one solve: the constructor sizes every table for the
// formula and sets the search's starting values; form_solutionB3_456
// records the model.
#include "solver/base_m456.h"

namespace vetrix {

namespace {

// A pass stops once more codes are fixed at the root than n >> this (at
// least ROOT_LIMIT_MIN); the pass loop doubles the limit as it is reached.
constexpr int ROOT_LIMIT_SHIFT = 8;
constexpr int ROOT_LIMIT_MIN = 2;
// Activities are rescaled once one passes this.
constexpr int ACTIVITY_LIMIT = 280;
// Tail lengths under which the reviews keep learnt cubes: the strict bound
// the reviews start from and lower, and the loose bound of the second rule.
constexpr int TAIL_BOUND_START = 6;
constexpr int TAIL_BOUND_LOOSE = 40;

template <class A> auto sized(A &arr, int n) -> decltype(arr.data) {
    arr.SetSize(n, -1);
    return arr.data;
}
} // namespace

CHpGN56::CHpGN56(const Formula &formula, int n, int strategy_) {
    const int m = formula.clause_count();
    keyac = 1;
    nb_var = n;
    nb_lit = code_count(n);
    nb_cub = m;
    max_nb_cub = m + SPARE_CUBES;
    nb_cub_rev = nb_cub_start = base_begin = nb_cub_orig = m;
    no_lev = n + 1;
    strategy = strategy_;
    restart = false;
    nb_recipe_rev = 0;
    lim_lev_0 = (n >> ROOT_LIMIT_SHIFT) > ROOT_LIMIT_MIN ? (n >> ROOT_LIMIT_SHIFT) : ROOT_LIMIT_MIN;
    lev = -1;
    result = RESULT_UNDECIDED;
    nb_node = 0;
    back_lev = 0;
    cub_confl = NONE;
    cub_stack_top = m - 1;
    max_activity = 0;
    activity_limit = ACTIVITY_LIMIT;
    saved_rang_2 = TAIL_BOUND_LOOSE;
    saved_rang = TAIL_BOUND_START;

    lev_lit.SetSize(n + 1, -1);
    recipe_len_nb.SetSize(n + 1, -1);
    recipe_len_lev.SetSize(n + 1, -1);
    index_der_lev.SetSize(n + 2, -1);
    frame_code.SetSize(n + 2, -1);

    recipe = sized(recipe_arr, n);
    recipe_size = 0;
    der_lit_lev_0 = sized(der_lit_lev_0_arr, n + 2);
    nb_der_lit_lev_0 = 0;
    nb_fixed_released = 0;
    // The arena and the spare cube slots are capacities: calloc'd storage
    // costs no resident memory until the solver writes it.
    // The slack past the last usable slot lets a walk read a whole window
    // from any tail (the codes past the tail's end are read, not used).
    cub_set = sized(cub_set_arr, m + ARENA_EXTRA + TAIL_WINDOW - 1);
    cube_arr.SetSize(max_nb_cub + 1, -1);
    cubes = cube_arr.data;
    guard_0.records = guard_1.records = cub_data_pnt.records = cubes;
    cub_data_pnt[0] = 0;
    max_cub_data_pnt = m + ARENA_EXTRA - 1;
    lit_activity = sized(lit_activity_arr, nb_lit);
    var_activity_old = sized(var_activity_arr, n);
    model_values = var_activity_old;
    ac = sized(ac_arr, nb_lit);
    top_queu_pnt = 0;
    limit_queu_pnt = nb_lit + QUEUE_EXTRA - 1;
    irred = sized(irred_arr, max_nb_cub);
    irred_size = 0;
    lit_n = sized(lit_n_arr, nb_lit);
    lit_ind = sized(lit_ind_arr, nb_lit);
    lit_ul = sized(lit_ul_arr, nb_lit);
    lit_u = sized(lit_u_arr, nb_lit);
    cub_gen = sized(cub_gen_arr, max_nb_cub);
    e_chain = sized(e_chain_arr, n + 1);
    set = sized(set_arr, 2 * (n + 2)); // n + 2 nodes of two ints
    dirki = sized(dirki_arr, n + 1);
    dir_pnt = 0;
    der_lit = nullptr;
    index_der = -1;
    min_saved_rang = 0;
    guard_list.SetSize(nb_lit, -1);
    order_heap_on = false;
    heap_size = 0;
    lowest_free = 0;
    control = nullptr;
    grows = false;
    warm = false;
    assumed = nullptr;
    nb_assumed = 0;
}

void form_solutionB3_456(CHpGN56 &s) {
    const CodeState *ind = s.lit_ind;
    for (int v = 0; v < s.nb_var; ++v) {
        int value;
        if (!is_free(ind, positive_code(v)))
            value = MODEL_FALSE; // the code of +v set: its literal is false
        else if (!is_free(ind, negative_code(v)))
            value = MODEL_TRUE; // the code of -v set
        else
            value = MODEL_FREE;
        s.model_values[v] = value;
    }
}

} // namespace vetrix
