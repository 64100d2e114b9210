// Set-up of a fresh state: the node pool of conflict analysis, the cube base
// and watch lists loaded from the formula, and the decision order.
#include "solver/base_m456.h"
#include "support/uponeub.h"

namespace vetrix {

void set_dirki456(CHpGN56 &s) {
    const int n = s.nb_var;
    s.set[0] = CHAIN_END; // node 0 is the sentinel that ends every chain
    s.set[1] = NONE;
    for (int i = 0; i <= n; ++i) {
        s.dirki[i] = i + 1;
        s.e_chain[i] = 0;
    }
    s.dir_pnt = n;
}

namespace {

// Set-up stops unless this many cube slots stay free for recipes.
constexpr int CUBE_SLOT_MARGIN = 10000;
// The shortest clause is searched from this length down.
constexpr int SHORTEST_START = 100000;
// The reviews' tail-length bound never goes below this.
constexpr int TAIL_BOUND_FLOOR = 2;
// Watch-list entries reserved per code beyond its input occurrences.
constexpr int WATCH_SPARE = 25;

// Clauses loaded between two returns of the formula's storage.
constexpr int RELEASE_STEP = 1 << 16;

// Smallest clause length (from SHORTEST_START) and per-code occurrence counts.
int count_occurrences(const Formula &formula, int nb_cub, IntArray &count) {
    int shortest = SHORTEST_START;
    for (int i = 0; i < nb_cub; ++i) {
        const int size = formula.clause_size(i);
        if (size < shortest)
            shortest = size;
        for (const int *c = formula.clause_begin(i), *e = formula.clause_end(i); c != e; ++c)
            ++count[*c];
    }
    return shortest;
}

void load_cube(CHpGN56 &s, int i, const int *cube, int size, int &p) {
    s.cub_data_pnt[i] = p;
    for (int k = 0; k < size; ++k) {
        int x = cube[k];
        if (k == 0) {
            s.guard_0[i] = x;
            s.guard_list[x].Append(i);
        } else if (k == 1) {
            s.guard_1[i] = x;
            s.guard_list[x].Append(i);
        } else {
            s.cub_set[p++] = x;
        }
    }
    if (size == 1)
        s.guard_1[i] = NONE;
}

// init_B456 on formula; when consumed is the formula itself, its storage
// goes back as the cubes are loaded.
void init_cubes(const Formula &formula, CHpGN56 &s, Formula *consumed) {
    if (s.nb_cub > s.max_nb_cub - CUBE_SLOT_MARGIN)
        AfxMessageBox("\n please, stop and increase max_cub_nb");
    s.index_der_lev[0] = NONE;
    IntArray count;
    count.SetSize(s.nb_lit, -1);
    s.index_der = -1;
    s.der_lit_arr.SetSize(s.nb_var + 1, -1);
    s.der_lit = s.der_lit_arr.data;
    for (int c = 0; c < s.nb_lit; ++c) {
        s.lit_ind[c] = FREE;
        s.lit_u[c] = s.no_lev;
    }
    int shortest = count_occurrences(formula, s.nb_cub, count);
    // Tails longer in total than the tail store would be written past it.
    if (formula.tail_codes() > static_cast<long long>(s.max_cub_data_pnt) + 1)
        AfxMessageBox("\n please, increase max_base_inc");
    s.min_saved_rang = shortest - 1 > TAIL_BOUND_FLOOR ? shortest - 1 : TAIL_BOUND_FLOOR;
    // Watch lists get room for their input occurrences plus WATCH_SPARE recipe entries.
    // A code absent from the formula gets its storage only when a recipe
    // first lists it, so unused variables cost no memory.
    for (int c = 0; c < s.nb_lit; ++c) {
        if (count[c] == 0)
            continue;
        s.guard_list[c].SetSize(count[c] + WATCH_SPARE, -1);
        s.guard_list[c].SetSize(0, -1);
    }
    count.SetSize(-1, -1);
    // The formula's storage goes back in steps as the cubes are loaded, so
    // the formula and the cube base are never both whole.
    int p = 0;
    for (int i = 0; i < s.nb_cub; ++i) {
        load_cube(s, i, formula.clause_begin(i), formula.clause_size(i), p);
        if (consumed && i % RELEASE_STEP == RELEASE_STEP - 1)
            consumed->release_before(i + 1);
    }
    s.cub_data_pnt[s.nb_cub] = p;
    if (consumed)
        consumed->clear();
    order_init(s);
}

} // namespace

void init_B456(Formula &formula, CHpGN56 &s) { init_cubes(formula, s, &formula); }

void load_cube_base(Formula &formula, CHpGN56 &s) {
    set_dirki456(s);
    init_B456(formula, s);
}

void load_cube_base_shared(const Formula &formula, CHpGN56 &s) {
    set_dirki456(s);
    init_cubes(formula, s, nullptr);
}

} // namespace vetrix
