// A run that the search's first decision decides, found from the formula's
// kept facts alone, so that neither the cube base nor the clauses need to
// exist for it.
//
// Strategy 2 decides the even code of the lowest free variable: code 0 at
// level 1. Setting it walks the watch list of code 0 from its first entry,
// the lowest cube watching code 0 (set-up lists cubes in cube order, and
// nothing changes the lists before the first decision). When that cube is
// the unit cube {0}, it is all set at once: the recipe is {0}, level 1 is
// undone, and the recipe, included as the newest cube with an empty tail,
// names level 0. Landing there propagates it: code 1 is set at level 0 and
// its watch list is walked from its first entry, the lowest cube watching
// code 1. When that is the unit cube {1}, it is all set at level 0: the
// formula is a tautology, "s UNSATISFIABLE", whatever the other cubes hold.
// The one capacity on this road is the recipe's room in the tail store
// after the input tails.
#include "solver/base_m456.h"
#include "support/uponeub.h"

namespace vetrix {

bool decides_code_0_first(int strategy) {
    return strategy == 2;
}

bool refuted_by_first_decision(const Formula &formula, int strategy) {
    if (!decides_code_0_first(strategy) || !formula.led_by_unit_pair())
        return false;
    // Set-up stops with this message when the input tails overflow the
    // store, and the inclusion when they leave no slot.
    const long long last_slot = static_cast<long long>(formula.clause_count()) + ARENA_EXTRA - 1;
    if (formula.tail_codes() > last_slot)
        AfxMessageBox("\n please, increase max_base_inc");
    return true;
}

} // namespace vetrix
