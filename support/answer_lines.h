// The answer lines of the SAT competitions, the one printer of v lines for
// every output that lists a model (a file's verdict, each call of an
// incremental file, a portfolio's winner).
#pragma once

#include <string>
#include <vector>

#include "vetrix/verdict.h"

namespace vetrix {

// Appends the literals as a v or f line lists them: 15 a line, each line
// begun by the letter, the last ended by " 0".
void append_literal_lines(std::string &out, char letter, const std::vector<int> &lits);

// "s SATISFIABLE" and the v lines of the model's true variables (model: +v
// or -v per variable), "s UNSATISFIABLE" or "s UNKNOWN".
std::string answer_lines(Verdict verdict, const std::vector<int> &model);

// Writes text to standard output and flushes it.
void write_answer(const std::string &text);

} // namespace vetrix
