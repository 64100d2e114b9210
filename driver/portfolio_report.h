// --portfolio on the command line: the report of the race of the strategies.
#pragma once

#include <string>
#include <vector>

#include "vetrix/file_run.h"

namespace vetrix {

// After the race of strategies (raced in the order listed), whose answer
// is printed: standard error gets the line "c portfolio winner: strategy n"
// ("none" when no strategy decided) and, with stats, each strategy's
// conflicts and CPU time. The proof file gets the reported strategy's
// proof when proofs are open; a proof that could not be completed leaves a
// message in proof_error.
void report_portfolio(const std::vector<int> &strategies, const FileAnswer &answer, bool stats,
                      RaceProofFiles &proofs, std::string &proof_error);

} // namespace vetrix
