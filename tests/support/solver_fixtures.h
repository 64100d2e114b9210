// Shared fixtures of the solver unit tests (tests/solver/): a state loaded
// from hand-built cubes, readers of its tables as plain vectors, and writers
// that set codes or append learnt cubes the way the solver itself does.
#pragma once

#include <memory>
#include <vector>

#include "solver/base_m456.h"
#include "support/my_carray.h"

namespace vetrix::solver_fixtures {

using Codes = std::vector<std::vector<int>>;
using V = std::vector<int>;

inline void fill_formula(Formula &formula, const Codes &cubes) {
    for (const V &cube : cubes) {
        for (int code : cube)
            formula.add_code(code);
        formula.close_clause();
    }
}

// A solver state loaded with the given cubes (lists of literal codes), as
// the solve driver builds it: constructor, node pool, set-up.
struct Loaded {
    Formula formula;
    std::unique_ptr<CHpGN56> state;
    Loaded(const Codes &cubes, int nb_var, int strategy = 2) {
        fill_formula(formula, cubes);
        state.reset(new CHpGN56(formula, nb_var, strategy));
        load_cube_base(formula, *state);
    }
    CHpGN56 &operator*() { return *state; }
};

// The field of cubes 0 .. n-1.
template <class Field> V first(const Field &f, int n) {
    V v;
    for (int i = 0; i < n; ++i)
        v.push_back(f[i]);
    return v;
}

inline V tail_of(const CHpGN56 &s, int i) {
    return V(s.cub_set + s.cub_data_pnt[i], s.cub_set + s.cub_data_pnt[i + 1]);
}

inline V watch(CHpGN56 &s, int code) {
    const IntArray &l = s.guard_list[code];
    return V(l.data, l.data + l.size);
}

inline V trail(const CHpGN56 &s) { return V(s.der_lit, s.der_lit + s.index_der + 1); }

inline V recipe_of(const CHpGN56 &s) { return V(s.recipe, s.recipe + s.recipe_size); }

// Sets code c by hand: a decision (reason < 0) or derived from cube reason.
inline void put(CHpGN56 &s, int c, int level, int depth, int reason = -1) {
    s.lit_ind[c] = reason < 0 ? 3 : 2;
    s.lit_u[c] = level;
    s.lit_ul[c] = depth;
    if (reason >= 0)
        s.lit_n[c] = reason;
}

// Appends a cube the way the base holds a learnt one: first two codes are
// the guards (listed in their watch lists), the rest its tail.
inline int append_cube(CHpGN56 &s, const V &codes, int gen) {
    int i = s.nb_cub;
    s.guard_0[i] = codes[0];
    s.guard_list[codes[0]].SetAtGrow(s.guard_list[codes[0]].size, i);
    if (codes.size() > 1) {
        s.guard_1[i] = codes[1];
        s.guard_list[codes[1]].SetAtGrow(s.guard_list[codes[1]].size, i);
    } else {
        s.guard_1[i] = NONE;
    }
    int p = s.cub_data_pnt[i];
    for (size_t k = 2; k < codes.size(); ++k)
        s.cub_set[p++] = codes[k];
    s.cub_data_pnt[i + 1] = p;
    s.cub_gen[i] = gen;
    ++s.nb_cub;
    return i;
}

// The unit cubes {x1}, ..., {xn}.
inline Codes positive_units(int n) {
    Codes cubes;
    for (int v = 0; v < n; ++v)
        cubes.push_back({2 * v});
    return cubes;
}

} // namespace vetrix::solver_fixtures
