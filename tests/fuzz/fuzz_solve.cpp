// Fuzz target: reader and solver on small formulas, every verdict checked.
// Each input is read once per strategy 0, 1 and 2 (the solver consumes the
// formula). A SAT model must satisfy the clauses as read; an UNSAT verdict
// must agree with exhaustive search up to kBruteForceVars variables and with
// the other strategies always. Every run writes a DRAT proof, which the
// independent checker must accept: with the empty clause exactly when the
// verdict is UNSAT. A wrong answer or a rejected proof aborts.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "reader/raspok1.h"
#include "solver/base_m456.h"
#include "solver/proof.h"
#include "support/answer_lines.h"
#include "tests/fuzz/fuzz_support.h"
#include "tools/drat_check.h"
#include "tools/oracle.h"

using namespace vetrix;

namespace {

// Larger inputs are skipped so that each run stays fast.
constexpr int kMaxVars = 40;
constexpr int kMaxClauses = 200;
constexpr int kBruteForceVars = 12;

enum class Answer { Skip, Sat, Unsat };

// The model of an "s SATISFIABLE" verdict: the listed variables are true.
// Aborts on a malformed verdict.
std::vector<bool> model_of(const std::string &verdict, int nb_var) {
    std::istringstream in(verdict.substr(std::string("s SATISFIABLE\n").size()));
    std::vector<bool> truth(static_cast<size_t>(nb_var) + 1, false);
    std::string word;
    while (in >> word) {
        if (word == "v")
            continue;
        int x = std::stoi(word);
        if (x == 0)
            return truth;
        if (x < 0 || x > nb_var)
            std::abort();
        truth[static_cast<size_t>(x)] = true;
    }
    std::abort(); // no closing 0
}

bool starts_with(const std::string &s, const char *prefix) { return s.rfind(prefix, 0) == 0; }

// Reads the text and solves it with one strategy; checks a SAT model.
Answer solve_and_check(const std::string &original, int strategy, cnfgen::Clauses &clauses, int &nb_var) {
    std::string text = original;
    Formula formula;
    try {
        if (!raspok_dnf(text, formula, nb_var))
            return Answer::Skip;
    } catch (const vetrix::Error &e) {
        fuzz::check_status(e);
        return Answer::Skip;
    }
    if (nb_var > kMaxVars || formula.clause_count() > kMaxClauses)
        return Answer::Skip;
    clauses = fuzz::checked_clauses(formula, nb_var);
    std::string verdict;
    std::ostringstream proof;
    try {
        ProofWriter writer(proof, strategy == 1 ? ProofWriter::Format::binary : ProofWriter::Format::text);
        SolveControl control;
        control.proof = &writer;
        const SolveOutcome outcome = solve_formula(formula, nb_var, strategy, &control);
        verdict = answer_lines(outcome.verdict, outcome.model);
    } catch (const vetrix::Error &) {
        std::abort(); // no capacity of the solver is near its end here
    }
    const dratcheck::Verdict checked = dratcheck::check_proof(clauses, proof.str());
    if (!checked.valid || checked.refuted != (verdict == "s UNSATISFIABLE\n"))
        std::abort();
    if (verdict == "s UNSATISFIABLE\n")
        return Answer::Unsat;
    if (!starts_with(verdict, "s SATISFIABLE\n") || !cnfgen::satisfies(clauses, model_of(verdict, nb_var)))
        std::abort();
    return Answer::Sat;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text = fuzz::text_of(data, size);
    cnfgen::Clauses clauses;
    int nb_var = 0;
    Answer answers[3];
    for (int strategy = 0; strategy <= 2; ++strategy) {
        answers[strategy] = solve_and_check(text, strategy, clauses, nb_var);
        if (answers[strategy] == Answer::Skip)
            return 0;
        if (answers[strategy] != answers[0])
            std::abort(); // the strategies disagree
    }
    if (answers[0] == Answer::Unsat && nb_var <= kBruteForceVars && cnfgen::brute_force_sat(nb_var, clauses))
        std::abort();
    return 0;
}
