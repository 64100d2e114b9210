// A run of the built binary with an LRAT proof, checked by the independent
// LRAT checker: the helper of every test that holds a DRAT run's answer and
// asks the same of the LRAT run.
#pragma once

#include <string>
#include <vector>

#include "support/harness.h"
#include "tools/lrat_check.h"

namespace harness {

// Runs args (the command line without its proof options) with --lrat
// --proof=proof: the proof must check against clauses (every clause line of
// the input, as read_dimacs reads them), with the empty clause exactly when
// the run printed s UNSATISFIABLE. Returns the run.
inline RunResult run_with_lrat(std::vector<std::string> args, const lratcheck::Clauses &clauses,
                               const std::string &proof) {
    args.insert(args.begin(), {"--lrat", "--proof=" + proof});
    RunResult r = run_vetrix(args);
    const lratcheck::Verdict v = lratcheck::check_proof(clauses, read_file(proof));
    EXPECT_TRUE(v.valid) << "LRAT proof rejected: " << v.error;
    EXPECT_EQ(v.refuted, r.out == "s UNSATISFIABLE\n") << "LRAT empty clause and verdict disagree";
    return r;
}

} // namespace harness
