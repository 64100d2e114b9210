// Helpers of the fast engine's tests: feeding generated formulas to the
// engine, reading its model, and the peers as oracles.
#pragma once

#include <string>
#include <vector>

#include "solver/fast/fast.h"
#include "tools/cnfgen.h"

namespace fasttest {

inline void add_clauses(vetrix::fast::Engine &engine, const cnfgen::Clauses &clauses) {
    for (const cnfgen::Clause &c : clauses) {
        for (int lit : c)
            engine.add(lit);
        engine.add(0);
    }
}

// truth[v] for v in 1..nb_var, from the engine's model.
inline std::vector<bool> model_of(const vetrix::fast::Engine &engine, int nb_var) {
    std::vector<bool> truth(static_cast<size_t>(nb_var) + 1, false);
    for (int v = 1; v <= nb_var; ++v)
        truth[static_cast<size_t>(v)] = engine.value(v) > 0;
    return truth;
}

// MiniSat's verdict (10 or 20) on the clauses; 0 when it is not installed.
int minisat_verdict(int nb_var, const cnfgen::Clauses &clauses, const std::string &path);

} // namespace fasttest
