// A dump of a formula in the input's clause-line form, for looking at what
// the reader built; nothing on the run path calls it.
#pragma once

#include "support/formula.h"

namespace vetrix {

// Writes the formula as DIMACS clause lines (no header) to standard output.
void print_dnf(const Formula &formula);

} // namespace vetrix
