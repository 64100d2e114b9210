// The formula, read once by rank 0, handed to every rank.
#pragma once

#include "vetrix/cnf_file.h"

namespace vetrix {

// Collective: rank 0 passes its status (0: cnf holds the formula; nonzero:
// the run ends, cnf unused) and every other rank receives it, with the
// formula in cnf when it is 0.
int broadcast_formula(Cnf &cnf, int status);

} // namespace vetrix
