// Reviews between passes: delete weak learnt cubes, compact the cube base in
// place and rebuild guards and watch lists. The first review also simplifies
// every cube by the level-0 assignment.
#include "solver/base_m456.h"

namespace vetrix {

namespace {

// Rule A judges only the oldest 1/2^OLD_PART_SHIFT of the cubes it reviews,
// and deletes those used in fewer than (nb_node >> GEN_NODE_SHIFT) + GEN_BASE
// analyses: the longer the search, the more use a cube must have seen.
constexpr int OLD_PART_SHIFT = 4;
constexpr int GEN_NODE_SHIFT = 10;
constexpr int GEN_BASE = 60;
// Rule B deletes long cubes used in at most this many analyses.
constexpr int LOOSE_GEN_MAX = 6;
// The strict tail bound drops by one when a review deletes fewer than
// 1/2^LOWER_SHIFT of the cubes it reviewed.
constexpr int LOWER_SHIFT = 5;
// A review trims a watch list whose room exceeds its entries by more than a
// quarter of them and this many slots.
constexpr int WATCH_TRIM_SLACK = 16;

struct Filter {
    int old_end;   // rule A reaches only the oldest sixteenth
    long long gen_bound; // rule A: little-used means cub_gen below this
};

Filter make_filter(const CHpGN56 &s) {
    const int n = s.nb_cub - s.base_begin;
    return Filter{s.base_begin + (n >> OLD_PART_SHIFT), (s.nb_node >> GEN_NODE_SHIFT) + GEN_BASE};
}

bool deleted_by_filter(const CHpGN56 &s, const Filter &f, int i) {
    const int tail = s.cub_data_pnt[i + 1] - s.cub_data_pnt[i];
    if (i < f.old_end && tail > s.saved_rang && s.cub_gen[i] < f.gen_bound)
        return true;
    return i < s.nb_cub - 1 && tail > s.saved_rang_2 && s.cub_gen[i] <= LOOSE_GEN_MAX;
}

// Fills irred with the kept cubes of [from, nb_cub); returns the deleted count.
int run_filter(CHpGN56 &s, int from) {
    const Filter f = make_filter(s);
    int deleted = 0;
    s.irred_size = 0;
    for (int i = from; i < s.nb_cub; ++i) {
        if (i >= s.base_begin && deleted_by_filter(s, f, i)) {
            proof_delete_cube(s, i);
            ++deleted;
        } else {
            s.irred[s.irred_size++] = i;
        }
    }
    return deleted;
}

void threshold_step(CHpGN56 &s, int deleted, int reviewed) {
    if (deleted < (reviewed >> LOWER_SHIFT) && s.saved_rang > s.min_saved_rang)
        --s.saved_rang;
}

// Everything of an old cube, read before its new place is written (the new
// index is never above the old one, so the rebuild can work in place).
struct OldCube {
    int g0, g1, begin, end, gen;
};

OldCube read_cube(const CHpGN56 &s, int c) {
    return OldCube{s.guard_0[c], s.guard_1[c], s.cub_data_pnt[c], s.cub_data_pnt[c + 1],
                   s.cub_gen[c]};
}

// Visits the codes of an old cube: guard_0, guard_1, then the tail. The visit
// returns false to stop.
template <class Visit> bool for_old_codes(const CHpGN56 &s, const OldCube &o, Visit visit) {
    if (!visit(o.g0))
        return false;
    if (o.g1 != NONE && !visit(o.g1))
        return false;
    for (int k = o.begin; k < o.end; ++k)
        if (!visit(s.cub_set[k]))
            return false;
    return true;
}

enum class Rebuilt { Kept, Dropped, NoFreeCode };

// First review: rewrites old cube o as cube j at p, leaving out codes set at
// level 0; a code whose complement is set drops the cube.
Rebuilt rebuild_simplified(CHpGN56 &s, const OldCube &o, int j, int &p) {
    const CodeState *ind = s.lit_ind;
    int placed = 0;
    bool kept = for_old_codes(s, o, [&](int x) {
        if (!is_free(ind, x))
            return true;
        if (!is_free(ind, lit_neg(x)))
            return false;
        if (placed == 0)
            s.guard_0[j] = x;
        else if (placed == 1)
            s.guard_1[j] = x;
        else
            s.cub_set[p++] = x;
        ++placed;
        return true;
    });
    if (!kept)
        return Rebuilt::Dropped;
    if (placed == 0)
        return Rebuilt::NoFreeCode;
    if (placed == 1) {
        s.guard_1[j] = NONE;
        s.guard_list[s.guard_0[j]].Append(j);
    } else {
        s.guard_list[s.guard_0[j]].Append(j);
        s.guard_list[s.guard_1[j]].Append(j);
    }
    return Rebuilt::Kept;
}

// Second review: rewrites old cube o as cube j at p, leaving out set codes;
// each guard enters its watch list as soon as it is placed.
Rebuilt rebuild_compacted(CHpGN56 &s, const OldCube &o, int j, int &p) {
    const CodeState *ind = s.lit_ind;
    int placed = 0;
    for_old_codes(s, o, [&](int x) {
        if (!is_free(ind, x))
            return true;
        if (placed == 0) {
            s.guard_0[j] = x;
            s.guard_list[x].Append(j);
        } else if (placed == 1) {
            s.guard_1[j] = x;
            s.guard_list[x].Append(j);
        } else {
            s.cub_set[p++] = x;
        }
        ++placed;
        return true;
    });
    if (placed == 0)
        return Rebuilt::NoFreeCode;
    if (placed == 1)
        s.guard_1[j] = NONE;
    return Rebuilt::Kept;
}

// Watch lists that held many more cubes during the pass than the review
// kept give the room back, so that the lists' storage follows the cubes held
// instead of the sum of each list's largest size. Only capacity changes: no
// entry moves.
void trim_watch_lists(CHpGN56 &s) {
    for (int c = 0; c < s.nb_lit; ++c) {
        IntArray &list = s.guard_list[c];
        if (list.max_size > list.size + list.size / 4 + WATCH_TRIM_SLACK)
            list.FreeExtra();
    }
}

void finish_review(CHpGN56 &s) {
    trim_watch_lists(s);
    s.nb_cub_rev = s.nb_cub;
    s.restart = false;
    s.nb_recipe_rev = 0;
    s.cub_stack_top = s.nb_cub - 1;
}

} // namespace

void base_reviewB456_rs1m(CHpGN56 &s) {
    if (s.nb_cub == s.nb_cub_rev)
        return;
    ++s.stats.reviews_root;
    // The level-0 variables never return to a cube: release their lists.
    s.nb_fixed_released += s.nb_der_lit_lev_0;
    while (s.nb_der_lit_lev_0 > 0) {
        const int c = s.der_lit_lev_0[--s.nb_der_lit_lev_0];
        proof_root_unit(s, c);
        s.guard_list[c].SetSize(-1, -1);
        s.guard_list[lit_neg(c)].SetSize(-1, -1);
    }
    const int reviewed = s.nb_cub - s.base_begin;
    int deleted = run_filter(s, 0);
    for (int c = 0; c < s.nb_lit; ++c)
        s.guard_list[c].SetSize(0, -1);

    int p = 0;
    int j = 0;
    int dropped_inputs = 0;
    const bool proving = writes_proof(s);
    for (int k = 0; k < s.irred_size; ++k) {
        const int c = s.irred[k];
        const OldCube o = read_cube(s, c);
        if (proving)
            proof_hold_cube(s, c);
        s.cub_data_pnt[j] = p;
        switch (rebuild_simplified(s, o, j, p)) {
        case Rebuilt::NoFreeCode:
            if (proving)
                proof_held_refutes(s);
            s.result = RESULT_UNSAT;
            return;
        case Rebuilt::Dropped:
            if (proving)
                proof_held_dropped(s);
            p = s.cub_data_pnt[j];
            ++deleted;
            if (c < s.nb_cub_orig)
                ++dropped_inputs;
            break;
        case Rebuilt::Kept:
            if (proving)
                proof_held_rewritten(s, j);
            s.cub_gen[j] = o.gen;
            ++j;
            break;
        }
    }
    s.cub_data_pnt[j] = p;
    s.nb_cub = j;
    // The input count follows the rebuild before any answer: clauses added
    // by a later call are placed at nb_cub_orig.
    s.nb_cub_orig -= dropped_inputs;
    // An empty base is satisfied by any assignment, unless a call's
    // assumptions still have to be decided: the search then goes on.
    if (s.nb_cub == 0 && s.nb_assumed == 0) {
        form_solutionB3_456(s);
        s.result = RESULT_SAT;
        finish_review(s);
        return;
    }
    threshold_step(s, deleted, reviewed);
    s.stats.recipes_deleted += deleted - dropped_inputs;
    finish_review(s);
}

void remove_more_then_base_begin_in_guard_in_i_456(int code, CHpGN56 &s) {
    IntArray &list = s.guard_list[code];
    int kept = 0;
    for (int k = 0; k < list.size; ++k)
        if (list.data[k] < s.base_begin)
            list.data[kept++] = list.data[k];
    list.SetSize(kept, -1);
}

void base_reviewB456_rs2m(CHpGN56 &s) {
    if (s.nb_cub == s.nb_cub_rev)
        return;
    ++s.stats.reviews_plain;
    const int reviewed = s.nb_cub - s.base_begin;
    const int deleted = run_filter(s, s.base_begin);
    threshold_step(s, deleted, reviewed);
    s.stats.recipes_deleted += deleted;
    for (int k = 0; k < s.nb_lit; ++k)
        remove_more_then_base_begin_in_guard_in_i_456(k, s);

    int p = s.cub_data_pnt[s.base_begin];
    int j = s.base_begin - 1;
    const bool proving = writes_proof(s);
    for (int k = 0; k < s.irred_size; ++k) {
        const int c = s.irred[k];
        const OldCube o = read_cube(s, c);
        if (proving)
            proof_hold_cube(s, c);
        j = s.base_begin + k;
        s.cub_data_pnt[j] = p;
        if (rebuild_compacted(s, o, j, p) == Rebuilt::NoFreeCode) {
            if (proving)
                proof_held_refutes(s);
            s.result = RESULT_UNSAT;
            return;
        }
        if (proving)
            proof_held_rewritten(s, j);
        s.cub_gen[j] = o.gen;
    }
    s.cub_data_pnt[j + 1] = p;
    s.nb_cub = j + 1;
    finish_review(s);
}

} // namespace vetrix
