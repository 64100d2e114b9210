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
#include "reader/clause_builder.h"
#include "solver/engine.h"
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

// The options of a race of strategies[0 .. num_strategies) with a proof of
// the flags' format.
vetrix::Options race_options_of(const int *strategies, size_t num_strategies, const char *proof_path,
                                int proof_flags) {
    if (num_strategies == 0)
        fatal("no strategy to race\n");
    vetrix::Options listed;
    listed.strategies.assign(strategies, strategies + num_strategies);
    check_strategies(listed);
    if (proof_path && (proof_flags & ~(VETRIX_PROOF_BINARY | VETRIX_PROOF_LRAT)))
        fatal("bad proof flags " + std::to_string(proof_flags) + "\n");
    vetrix::Options options = std::move(listed);
    options.binary_proof = (proof_flags & VETRIX_PROOF_BINARY) != 0;
    options.lrat = (proof_flags & VETRIX_PROOF_LRAT) != 0;
    return options;
}

// Solves with options; the proof file, when proof_path is given, is opened
// before anything is read and checked after the solve.
int solve_lits(vetrix::Options options, int num_vars, const int *lits, size_t num_lits, const char *proof_path,
               int *winner, int *model) {
    check_strategies(options);
    std::ofstream proof;
    if (proof_path) {
        proof.open(proof_path, std::ios::out | std::ios::binary | std::ios::trunc);
        if (!proof)
            fatal("vetrix: cannot create proof file '" + std::string(proof_path) + "'\n");
        options.proof = &proof;
    }
    const size_t nb_clause = count_clauses(lits, num_lits);
    check_counts(num_vars, nb_clause);
    auto formula = std::make_unique<Formula>();
    ClauseBuilder builder(*formula, num_vars, static_cast<int>(nb_clause));
    for (size_t start = 0, k = 0; k < num_lits; ++k)
        if (lits[k] == 0) {
            add_literals(builder, lits + start, k - start);
            start = k + 1;
        }
    const vetrix::Result result = decide(std::move(formula), num_vars, options);
    if (proof_path && !proof.flush())
        fatal("vetrix: writing the proof to '" + std::string(proof_path) + "' failed\n");
    if (winner)
        *winner = result.strategy;
    if (model && result.verdict == vetrix::Verdict::satisfiable)
        std::copy(result.model.begin(), result.model.end(), model);
    return vetrix::verdict_code(result.verdict);
}

// f() with every failure turned into -1 and its message.
template <class F> int guarded(char *error, size_t error_size, F f) {
    try {
        return vetrix::with_memory_guard(f);
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

struct vetrix_options {
    vetrix::Options options;
    std::string error; // of the last refused vetrix_set_option
};

extern "C" int vetrix_solve_race(int num_vars, const int *lits, size_t num_lits, const int *strategies,
                                 size_t num_strategies, int *winner, int *model, char *error, size_t error_size) {
    return vetrix_solve_proof(num_vars, lits, num_lits, strategies, num_strategies, nullptr, 0, winner, model, error,
                              error_size);
}

extern "C" int vetrix_solve_proof(int num_vars, const int *lits, size_t num_lits, const int *strategies,
                                  size_t num_strategies, const char *proof_path, int proof_flags, int *winner,
                                  int *model, char *error, size_t error_size) {
    return vetrix::guarded(error, error_size, [&] {
        const vetrix::Options options = vetrix::race_options_of(strategies, num_strategies, proof_path, proof_flags);
        return vetrix::solve_lits(options, num_vars, lits, num_lits, proof_path, winner, model);
    });
}

extern "C" int vetrix_solve(int num_vars, const int *lits, size_t num_lits, int strategy, int *model, char *error,
                            size_t error_size) {
    return vetrix_solve_race(num_vars, lits, num_lits, &strategy, 1, nullptr, model, error, error_size);
}

extern "C" vetrix_options *vetrix_options_new(void) {
    try {
        return new vetrix_options();
    } catch (...) {
        return nullptr;
    }
}

extern "C" void vetrix_options_delete(vetrix_options *options) { delete options; }

extern "C" int vetrix_set_option(vetrix_options *options, const char *name, const char *value) {
    try {
        options->options.set(name, value);
        options->error.clear();
        return 0;
    } catch (const vetrix::Error &e) {
        options->error = e.message().substr(0, e.message().find('\n'));
    } catch (const std::exception &e) {
        options->error = e.what();
    }
    return -1;
}

extern "C" const char *vetrix_options_error(const vetrix_options *options) { return options->error.c_str(); }

extern "C" int vetrix_solve_options(const vetrix_options *options, int num_vars, const int *lits, size_t num_lits,
                                    const char *proof_path, int *winner, int *model, char *error,
                                    size_t error_size) {
    return vetrix::guarded(error, error_size, [&] {
        return vetrix::solve_lits(options->options, num_vars, lits, num_lits, proof_path, winner, model);
    });
}
