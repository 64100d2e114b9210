// The model of a SAT answer and its check against every clause added.
#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

// Every variable but the eliminated ones is assigned when the search finds
// a model; those get their values from the eliminated clauses.
void Internal::save_model() {
    for (int v = 0; v < nvars; ++v)
        model[static_cast<size_t>(v)] = val(2 * v) > 0;
    extend_model();
}

// Each clause of the formula, as it was added, needs a true literal. The
// check reads only the model and the clauses' DIMACS literals, none of the
// search's tables.
bool Internal::model_satisfies_original() const {
    bool satisfied = false;
    for (int lit : original) {
        if (lit == 0) {
            if (!satisfied)
                return false;
            satisfied = false;
            continue;
        }
        const size_t v = static_cast<size_t>(lit > 0 ? lit - 1 : -lit - 1);
        satisfied |= (model[v] != 0) == (lit > 0);
    }
    return true;
}

} // namespace fast
} // namespace vetrix
