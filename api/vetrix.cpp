// The C++ interface: formulas from clauses, DIMACS text or files, decided
// by the command line's reader and solver.
#include "vetrix/vetrix.h"

#include <memory>

#include "api/formula.h"
#include "api/library_race.h"
#include "api/run.h"
#include "api/settings.h"
#include "solver/engine.h"
#include "solver/proof.h"
#include "support/uponeub.h"

namespace vetrix {

Result solve(int num_vars, const std::vector<std::vector<int>> &clauses, const Options &options) {
    return with_memory_guard([&] {
        check_strategies(options);
        check_counts(num_vars, clauses.size());
        auto formula = std::make_unique<Formula>();
        ClauseBuilder builder(*formula, num_vars, static_cast<int>(clauses.size()));
        for (const std::vector<int> &clause : clauses)
            add_literals(builder, clause.data(), clause.size());
        return decide(std::move(formula), num_vars, options);
    });
}

Result solve_file(const std::string &path, const Options &options) {
    return with_memory_guard([&] {
        check_strategies(options);
        auto formula = std::make_unique<Formula>();
        int nb_var = 0;
        load_formula(path.c_str(), *formula, nb_var);
        return decide(std::move(formula), nb_var, options);
    });
}

Result solve_dimacs(std::string_view text, const Options &options) {
    return with_memory_guard([&] {
        check_strategies(options);
        auto formula = std::make_unique<Formula>();
        int nb_var = 0;
        {
            std::string copy(text); // the reader wants the bytes and one NUL
            copy.push_back('\0');
            read_formula(copy, *formula, nb_var);
        }
        return decide(std::move(formula), nb_var, options);
    });
}

const char *version() { return VETRIX_VERSION; }

namespace {

// The one strategy of a solve without a race.
SolveOutcome solve_alone(Formula &formula, int nb_var, const vetrix::Options &options, SolveControl &control,
                         int strategy) {
    std::unique_ptr<ProofWriter> proof; // flushed when it goes out of scope
    if (options.proof) {
        proof = make_proof_writer(*options.proof, options.binary_proof, options.lrat);
        control.proof = proof.get();
    }
    if (options.progress)
        control.progress = &options.progress;
    return solve_formula(formula, nb_var, strategy, &control);
}

} // namespace

Result decide(std::unique_ptr<Formula> formula, int nb_var, const vetrix::Options &options) {
    SolveControl control = control_of(options, SolveControl::Clock::now());
    Result result;
    result.strategy = options.strategies.empty() ? options.strategy : options.strategies.front();
    SolveOutcome outcome = options.strategies.size() > 1
                               ? race_options(std::move(formula), nb_var, options, control, result.strategy)
                               : solve_alone(*formula, nb_var, options, control, result.strategy);
    result.verdict = outcome.verdict;
    result.model = std::move(outcome.model);
    result.stats = outcome.stats;
    return result;
}

} // namespace vetrix
