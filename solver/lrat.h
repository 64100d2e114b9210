// The clause IDs of an LRAT proof and the hints of its steps.
//
// Every clause the proof holds has an ID: input clause k of the file (every
// clause line counted, also those the reader does not keep) has ID k, and
// each added clause takes the next ID. The IDs of the clauses the cube base
// holds are kept per cube and move with the cubes when a review compacts
// the base; the facts fixed at the root get a unit clause each (in the
// first review after they are found), kept per code.
//
// The hints of an addition name the clauses that make it follow by unit
// propagation: asserting the negation of the added clause sets its codes,
// and then each hint in turn is unit (it sets one more code) or, the last
// one, all set (falsified as a clause). The hints of a code that has to be
// set are found by walking back through the reasons (lit_n) that set it,
// depth first, each reason named after the reasons of its own codes: the
// walk stops at the added clause's codes and at root facts held by a unit
// clause; a root fact without one yet is set through its reason, like any
// other derived code.
#pragma once

#include <vector>

#include "solver/proof.h"
#include "support/formula.h"

namespace vetrix {

class CHpGN56;

// The IDs an incremental solver's input clauses can take, 1 to this: its
// learnt clauses take IDs above, whatever the clauses added by later calls.
constexpr ClauseId LRAT_INPUT_IDS = 2147483647; // the int-sized count of clause lines

class LratIds {
  public:
    // The IDs of formula's clauses, cube i the clause it keeps as clause i;
    // per code room for nb_lit codes.
    LratIds(const Formula &formula, int nb_lit);

    ClauseId fresh() { return next_++; }     // the ID of a new clause
    // New clauses take IDs above inputs: the IDs of the clauses still to come.
    void reserve_inputs(ClauseId inputs) { next_ = next_ > inputs ? next_ : inputs + 1; }
    // Room per code for nb_lit codes (the variables grew).
    void fit_codes(int nb_lit);
    // The cubes [from, from + ids.size()) are new, the cubes from `from` on
    // move up by as many: ids are the new ones' IDs; the cube count before.
    void insert_cubes(int from, const std::vector<ClauseId> &ids, int nb_cub);
    ClauseId last() const { return next_ - 1; } // the last ID given
    ClauseId cube(int i) const { return cube_[static_cast<std::size_t>(i)]; }
    void set_cube(int i, ClauseId id);
    // The unit clause that holds code set at the root, 0 when none yet.
    ClauseId unit(int code) const { return unit_[static_cast<std::size_t>(code)]; }
    void set_unit(int code, ClauseId id) { unit_[static_cast<std::size_t>(code)] = id; }

    std::vector<ClauseId> hints; // the hints of the step being written
    ClauseId held = 0;           // the ID of the cube a review is rewriting
    // The hints of the empty clause, once a review or the reading found the
    // formula refuted; the search's own root conflict is named at the end.
    bool refuted = false;
    std::vector<ClauseId> refutation;

    // ---- the walk: per code, the step that last met it; the stack of
    //      codes being set through their reasons ----
    struct Frame {
        int code;   // the code being set
        int reason; // its reason cube
        int next;   // the reason's next code to visit, in cube order
    };
    std::vector<unsigned> met;
    unsigned stamp = 0;
    std::vector<Frame> stack;

  private:
    ClauseId next_;               // the next ID to give
    std::vector<ClauseId> cube_;  // per cube [0, nb_cub): its clause's ID
    std::vector<ClauseId> unit_;  // per code [0, 2n): its unit clause's ID, 0 none
};

// The hints of each kind of step, left in ids.hints.
// Cube n, a recipe just included after the conflict at cube cub_confl.
void lrat_recipe_hints(const CHpGN56 &s, LratIds &ids, int n);
// The unit clause of code, set at the root.
void lrat_root_unit_hints(const CHpGN56 &s, LratIds &ids, int code);
// A clause whose codes set at the root are left out, or all of them (the
// empty clause): the root facts, then the clause itself.
void lrat_shortened_hints(const CHpGN56 &s, LratIds &ids, const std::vector<int> &codes, ClauseId clause);
// The empty clause from cube, all set at the root.
void lrat_root_conflict_hints(const CHpGN56 &s, LratIds &ids, int cube);

} // namespace vetrix
