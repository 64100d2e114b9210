// Fuzz target of the fast engine: small formulas read by the reader, solved
// with a DRAT proof, then solved again under assumptions taken from the
// input's first clause. A model must satisfy the clauses (and the
// assumptions), a refutation's proof must check, exhaustive search must
// agree up to kBruteForceVars variables, and a failed core must be refuted
// on its own. A wrong answer or a rejected proof aborts.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "reader/raspok1.h"
#include "solver/fast/fast.h"
#include "tests/fuzz/fuzz_support.h"
#include "tools/drat_check.h"
#include "tools/oracle.h"

using namespace vetrix;

namespace {

constexpr int kMaxVars = 60;
constexpr int kMaxClauses = 400;
constexpr int kBruteForceVars = 12;

void check_model(const fast::Engine &engine, const cnfgen::Clauses &clauses, int nb_var) {
    std::vector<bool> truth(static_cast<size_t>(nb_var) + 1, false);
    for (int v = 1; v <= nb_var; ++v)
        truth[static_cast<size_t>(v)] = engine.value(v) > 0;
    if (!cnfgen::satisfies(clauses, truth))
        std::abort();
}

// Satisfiability of the clauses with the literals of units added as unit
// clauses, by exhaustive search.
bool sat_under(cnfgen::Clauses clauses, const std::vector<int> &units, int nb_var) {
    for (int lit : units)
        clauses.push_back({lit});
    return cnfgen::brute_force_sat(nb_var, clauses);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text = fuzz::text_of(data, size);
    Formula formula;
    int nb_var = 0;
    try {
        if (!raspok_dnf(text, formula, nb_var))
            return 0;
    } catch (const vetrix::Error &e) {
        fuzz::check_status(e);
        return 0;
    }
    if (nb_var > kMaxVars || formula.clause_count() > kMaxClauses)
        return 0;
    const cnfgen::Clauses clauses = fuzz::checked_clauses(formula, nb_var);
    std::ostringstream proof;
    fast::Engine engine;
    engine.set_proof(proof, size % 2 == 1);
    if (formula.has_empty_clause())
        engine.add(0);
    for (const cnfgen::Clause &c : clauses) {
        for (int lit : c)
            engine.add(lit);
        engine.add(0);
    }
    const int verdict = engine.solve();
    engine.flush_proof();
    cnfgen::Clauses checked = clauses;
    if (formula.has_empty_clause())
        checked.push_back({});
    const dratcheck::Verdict drat = dratcheck::check_proof(checked, proof.str());
    if (verdict == 0 || !drat.valid || drat.refuted != (verdict == 20))
        std::abort();
    if (verdict == 10)
        check_model(engine, clauses, nb_var);
    const bool small = nb_var <= kBruteForceVars && !formula.has_empty_clause();
    if (small && (verdict == 10) != cnfgen::brute_force_sat(nb_var, clauses))
        std::abort();
    if (clauses.empty())
        return 0;
    const std::vector<int> assumptions = clauses[0].empty() ? std::vector<int>() : std::vector<int>{-clauses[0][0]};
    std::vector<int> all = assumptions;
    for (size_t k = 1; k < clauses[0].size(); ++k)
        all.push_back(-clauses[0][k]); // the first clause falsified: UNSAT under these
    for (int lit : all)
        engine.assume(lit);
    if (engine.solve() != 20)
        std::abort();
    std::vector<int> core;
    for (int lit : all)
        if (engine.failed(lit))
            core.push_back(lit);
    if (small && sat_under(clauses, core, nb_var))
        std::abort();
    for (int lit : assumptions)
        engine.assume(lit);
    const int again = engine.solve();
    if (again == 10) {
        check_model(engine, clauses, nb_var);
        for (int lit : assumptions)
            if (engine.value(lit) != lit)
                std::abort();
    }
    if (again == 0 || (verdict == 20 && again != 20))
        std::abort();
    return 0;
}
