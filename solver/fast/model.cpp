// The model of a SAT answer, its values of the eliminated variables and its
// check against every clause added; and the return of the eliminated
// clauses when a caller uses an eliminated variable again.
#include <cstdlib>

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

// Newest first, each eliminated clause that the model leaves false gets
// its witness literal made true. This satisfies all of them: the clauses
// left imply every resolvent on each eliminated variable.
void Internal::extend_model() {
    for (size_t i = extension_start.size(); i > 0; --i) {
        const size_t begin = extension_start[i - 1];
        const size_t end = i < extension_start.size() ? extension_start[i] : extension.size();
        bool satisfied = false;
        for (size_t k = begin; k < end && !satisfied; ++k) {
            const Lit lit = extension[k];
            satisfied = (model[static_cast<size_t>(var_of(lit))] != 0) == ((lit & 1) == 0);
        }
        if (!satisfied) {
            const Lit witness = extension[begin];
            model[static_cast<size_t>(var_of(witness))] = (witness & 1) == 0;
        }
    }
}

bool Internal::uses_eliminated(const int *dimacs, size_t size) const {
    if (extension.empty())
        return false;
    for (size_t k = 0; k < size; ++k) {
        const size_t v = static_cast<size_t>(std::abs(dimacs[k]) - 1);
        if (v < eliminated.size() && eliminated[v])
            return true;
    }
    return false;
}

// Every eliminated clause comes back (the proof still holds each), and
// every eliminated variable is a variable of the search again.
void Internal::restore_eliminated() {
    std::vector<Lit> clause;
    for (size_t i = 0; i < extension_start.size(); ++i) {
        const size_t end = i + 1 < extension_start.size() ? extension_start[i + 1] : extension.size();
        clause.assign(extension.begin() + static_cast<std::ptrdiff_t>(extension_start[i]),
                      extension.begin() + static_cast<std::ptrdiff_t>(end));
        add_clause(clause, lrat ? extension_ids[i] : 0);
    }
    extension.clear();
    extension_start.clear();
    extension_ids.clear();
    for (int v = 0; v < nvars; ++v) {
        const size_t u = static_cast<size_t>(v);
        if (!eliminated[u])
            continue;
        eliminated[u] = 0;
        ++stats.restored;
        if (heap_pos[u] < 0)
            heap_insert(v);
        queue_enqueue(v);
    }
}

} // namespace fast
} // namespace vetrix
