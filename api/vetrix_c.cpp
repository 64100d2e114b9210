// The C interface: calls that read the clauses from a flat literal array,
// decide them with one strategy or a race of several, and turn every failure
// into a status and a message.
#include "vetrix/vetrix_c.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <fstream>
#include <memory>
#include <string>

#include "api/formula.h"
#include "api/library_race.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

// Copies message into error, cut to error_size bytes with the NUL.
void copy_message(const std::string &message, char *error, size_t error_size) {
    if (!error || error_size == 0)
        return;
    const size_t n = message.size() < error_size ? message.size() : error_size - 1;
    std::memcpy(error, message.data(), n);
    error[n] = '\0';
}

// The clauses of lits, each ended by 0; fails when the last one lacks its 0.
size_t count_clauses(const int *lits, size_t num_lits) {
    size_t clauses = 0;
    for (size_t k = 0; k < num_lits; ++k)
        clauses += lits[k] == 0;
    if (num_lits > 0 && lits[num_lits - 1] != 0)
        fatal("clause " + std::to_string(clauses + 1) + " is not ended by 0\n");
    return clauses;
}

// The proof file of a C call: opened before anything is read, checked
// after the solve.
struct ProofTarget {
    const char *path = nullptr; // none when null
    int flags = 0;
};

int solve_lits(int num_vars, const int *lits, size_t num_lits, const int *strategies, size_t num_strategies,
               const ProofTarget &target, int *winner, int *model) {
    if (num_strategies == 0)
        fatal("no strategy to race\n");
    vetrix::Options options;
    options.strategies.assign(strategies, strategies + num_strategies);
    check_strategies(options);
    std::ofstream proof;
    if (target.path) {
        if (target.flags & ~(VETRIX_PROOF_BINARY | VETRIX_PROOF_LRAT))
            fatal("bad proof flags " + std::to_string(target.flags) + "\n");
        proof.open(target.path, std::ios::out | std::ios::binary | std::ios::trunc);
        if (!proof)
            fatal("vetrix: cannot create proof file '" + std::string(target.path) + "'\n");
        options.proof = &proof;
        options.binary_proof = (target.flags & VETRIX_PROOF_BINARY) != 0;
        options.lrat = (target.flags & VETRIX_PROOF_LRAT) != 0;
    }
    const size_t nb_clause = count_clauses(lits, num_lits);
    check_counts(num_vars, nb_clause);
    auto formula = std::make_unique<Formula>();
    ClauseBuilder builder(*formula, num_vars, static_cast<int>(nb_clause));
    for (size_t start = 0, k = 0; k < num_lits; ++k)
        if (lits[k] == 0) {
            add_clause(builder, lits + start, k - start);
            start = k + 1;
        }
    const vetrix::Result result = decide(std::move(formula), num_vars, options);
    if (target.path && !proof.flush())
        fatal("vetrix: writing the proof to '" + std::string(target.path) + "' failed\n");
    if (winner)
        *winner = result.strategy;
    switch (result.verdict) {
    case vetrix::Verdict::satisfiable:
        if (model)
            std::copy(result.model.begin(), result.model.end(), model);
        return 10;
    case vetrix::Verdict::unsatisfiable:
        return 20;
    case vetrix::Verdict::unknown:
        break;
    }
    return 0;
}

// solve_lits with every failure turned into -1 and its message.
int solve_guarded(int num_vars, const int *lits, size_t num_lits, const int *strategies, size_t num_strategies,
                  const ProofTarget &target, int *winner, int *model, char *error, size_t error_size) {
    try {
        return vetrix::with_memory_guard([&] {
            return solve_lits(num_vars, lits, num_lits, strategies, num_strategies, target, winner, model);
        });
    } catch (const vetrix::Error &e) {
        copy_message(e.message(), error, error_size);
    } catch (const std::exception &e) {
        copy_message(std::string(e.what()) + "\n", error, error_size);
    } catch (...) {
        copy_message("unknown error\n", error, error_size);
    }
    return -1;
}

} // namespace

} // namespace vetrix

extern "C" int vetrix_solve_race(int num_vars, const int *lits, size_t num_lits, const int *strategies,
                                 size_t num_strategies, int *winner, int *model, char *error, size_t error_size) {
    return vetrix::solve_guarded(num_vars, lits, num_lits, strategies, num_strategies, vetrix::ProofTarget(),
                                 winner, model, error, error_size);
}

extern "C" int vetrix_solve_proof(int num_vars, const int *lits, size_t num_lits, const int *strategies,
                                  size_t num_strategies, const char *proof_path, int proof_flags, int *winner,
                                  int *model, char *error, size_t error_size) {
    return vetrix::solve_guarded(num_vars, lits, num_lits, strategies, num_strategies,
                                 vetrix::ProofTarget{proof_path, proof_flags}, winner, model, error, error_size);
}

extern "C" int vetrix_solve(int num_vars, const int *lits, size_t num_lits, int strategy, int *model, char *error,
                            size_t error_size) {
    return vetrix_solve_race(num_vars, lits, num_lits, &strategy, 1, nullptr, model, error, error_size);
}
