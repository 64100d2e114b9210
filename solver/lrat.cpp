// The clause IDs of an LRAT proof and the walk that finds the hints of its
// steps (LratIds, declared in lrat.h).
//
// Why the hints come out in an order that checks: a reason is named only
// after the reasons (or unit clauses) of all its codes but the one it sets,
// so when the checker reaches it every other code of it is set and it is
// unit. The added clause's own codes are set by its negation and are never
// walked through. Every code is met once per step, so no reason is named
// twice (a second naming would find the clause satisfied).
#include "solver/lrat.h"

#include "solver/base_m456.h"

namespace vetrix {

LratIds::LratIds(const Formula &formula, int nb_lit)
    : next_(static_cast<ClauseId>(formula.clause_lines()) + 1),
      cube_(static_cast<std::size_t>(formula.clause_count())), unit_(static_cast<std::size_t>(nb_lit), 0) {
    for (int i = 0; i < formula.clause_count(); ++i)
        cube_[static_cast<std::size_t>(i)] = formula.clause_line(i);
    met.assign(static_cast<std::size_t>(nb_lit), 0);
}

void LratIds::set_cube(int i, ClauseId id) {
    const std::size_t at = static_cast<std::size_t>(i);
    if (at >= cube_.size())
        cube_.resize(at + 1 > 2 * cube_.size() ? at + 1 : 2 * cube_.size());
    cube_[at] = id;
}

void LratIds::fit_codes(int nb_lit) {
    if (static_cast<std::size_t>(nb_lit) > unit_.size()) {
        unit_.resize(static_cast<std::size_t>(nb_lit), 0);
        met.resize(static_cast<std::size_t>(nb_lit), 0u);
    }
}

void LratIds::insert_cubes(int from, const std::vector<ClauseId> &ids, int nb_cub) {
    if (cube_.size() < static_cast<std::size_t>(nb_cub))
        cube_.resize(static_cast<std::size_t>(nb_cub), 0);
    cube_.insert(cube_.begin() + from, ids.begin(), ids.end());
}

namespace {

// The codes of cube i in cube order (tail, guard_0, guard_1), by position.
int cube_size(const CHpGN56 &s, int i) {
    return s.cub_data_pnt[i + 1] - s.cub_data_pnt[i] + (s.guard_1[i] == NONE ? 1 : 2);
}

int cube_code(const CHpGN56 &s, int i, int k) {
    const int tail = s.cub_data_pnt[i + 1] - s.cub_data_pnt[i];
    if (k < tail)
        return s.cub_set[s.cub_data_pnt[i] + k];
    return k == tail ? s.guard_0[i] : s.guard_1[i];
}

// A fresh stamp: no code is met in the new step yet.
void new_step(LratIds &ids) {
    ids.hints.clear();
    if (++ids.stamp == 0) {
        std::fill(ids.met.begin(), ids.met.end(), 0u);
        ids.stamp = 1;
    }
}

bool met(const LratIds &ids, int code) { return ids.met[static_cast<std::size_t>(code)] == ids.stamp; }
void meet(LratIds &ids, int code) { ids.met[static_cast<std::size_t>(code)] = ids.stamp; }

// Meets code x, set: a root fact held by a unit clause is named at once; a
// decision (the walk never reaches one outside the added clause) has
// nothing to name; any other code is set through its reason, which goes on
// the stack. False when nothing is pushed.
bool enter(const CHpGN56 &s, LratIds &ids, int x) {
    meet(ids, x);
    if (s.lit_u[x] == 0 && ids.unit(x) != 0) {
        ids.hints.push_back(ids.unit(x));
        return false;
    }
    if (s.lit_u[x] != 0 && s.lit_ul[x] == 0)
        return false;
    ids.stack.push_back(LratIds::Frame{x, s.lit_n[x], 0});
    return true;
}

// Appends the hints that set code x (set, or set when the conflict was
// found) after those that set the codes of its reason.
void set_code(const CHpGN56 &s, LratIds &ids, int x) {
    if (met(ids, x) || !enter(s, ids, x))
        return;
    while (!ids.stack.empty()) {
        LratIds::Frame &f = ids.stack.back();
        if (f.next == cube_size(s, f.reason)) {
            ids.hints.push_back(ids.cube(f.reason));
            ids.stack.pop_back();
            continue;
        }
        const int u = cube_code(s, f.reason, f.next++);
        if (u != lit_neg(f.code) && !met(ids, u))
            enter(s, ids, u); // f may move: it is looked up again
    }
}

// Sets every code of cube, then names it: it is all set.
void falsify_cube(const CHpGN56 &s, LratIds &ids, int cube) {
    for_cube_codes(s, cube, [&](int x) { set_code(s, ids, x); });
    ids.hints.push_back(ids.cube(cube));
}

} // namespace

void lrat_recipe_hints(const CHpGN56 &s, LratIds &ids, int n) {
    new_step(ids);
    for_cube_codes(s, n, [&](int x) { meet(ids, x); }); // set by the negation
    falsify_cube(s, ids, s.cub_confl);
}

void lrat_root_unit_hints(const CHpGN56 &s, LratIds &ids, int code) {
    new_step(ids);
    set_code(s, ids, code); // its reason comes last and is all set
}

void lrat_shortened_hints(const CHpGN56 &s, LratIds &ids, const std::vector<int> &codes, ClauseId clause) {
    new_step(ids);
    // A clause that keeps a literal and its complement (an input clause the
    // reader kept so) holds by itself: its negation is contradictory, no
    // hint is due.
    for (int c : codes)
        if (is_free(s.lit_ind, c)) {
            if (met(ids, lit_neg(c)))
                return;
            meet(ids, c);
        }
    new_step(ids);
    for (int c : codes)
        if (is_set(s.lit_ind, c))
            set_code(s, ids, c);
    ids.hints.push_back(clause);
}

void lrat_root_conflict_hints(const CHpGN56 &s, LratIds &ids, int cube) {
    new_step(ids);
    falsify_cube(s, ids, cube);
}

} // namespace vetrix
