// The C++ interface: formulas from clauses, DIMACS text or files, decided
// by the command line's reader and solver.
#include "vetrix/vetrix.h"

#include <optional>

#include "api/formula.h"
#include "api/run.h"
#include "solver/base_m456.h"
#include "solver/proof.h"
#include "support/uponeub.h"

namespace vetrix {

Result solve(int num_vars, const std::vector<std::vector<int>> &clauses, const Options &options) {
    return with_memory_guard([&] {
        check_strategy(options.strategy);
        check_counts(num_vars, clauses.size());
        Formula formula;
        ClauseBuilder builder(formula, num_vars, static_cast<int>(clauses.size()));
        for (const std::vector<int> &clause : clauses)
            add_clause(builder, clause.data(), clause.size());
        return decide(formula, num_vars, options);
    });
}

Result solve_file(const std::string &path, const Options &options) {
    return with_memory_guard([&] {
        check_strategy(options.strategy);
        Formula formula;
        int nb_var = 0;
        load_formula(path.c_str(), formula, nb_var);
        return decide(formula, nb_var, options);
    });
}

Result solve_dimacs(std::string_view text, const Options &options) {
    return with_memory_guard([&] {
        check_strategy(options.strategy);
        Formula formula;
        int nb_var = 0;
        {
            std::string copy(text); // the reader wants the bytes and one NUL
            copy.push_back('\0');
            read_formula(copy, formula, nb_var);
        }
        return decide(formula, nb_var, options);
    });
}

const char *version() { return VETRIX_VERSION; }

Result decide(Formula &formula, int nb_var, const vetrix::Options &options) {
    SolveControl control;
    std::optional<ProofWriter> proof; // flushed when it goes out of scope
    if (options.proof) {
        proof.emplace(*options.proof, options.binary_proof ? ProofWriter::Format::binary : ProofWriter::Format::text);
        control.proof = &*proof;
    }
    control.stop = options.stop;
    if (options.time_limit > 0)
        control.deadline = deadline_after(control.start, options.time_limit);
    if (options.progress)
        control.progress = &options.progress;
    SolveOutcome outcome = solve_formula(formula, nb_var, options.strategy, &control);
    Result result;
    result.verdict = verdict_of(outcome.verdict);
    result.model = std::move(outcome.model);
    result.stats = outcome.stats;
    return result;
}

} // namespace vetrix
