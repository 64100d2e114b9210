// The solve shared by the C++ and the C interface.
#pragma once

#include <memory>

#include "support/formula.h"
#include "vetrix/vetrix.h"

namespace vetrix {

// Decides formula (consumed) of nb_var variables with the options'
// strategy, or races the options' strategies; the options are checked
// (check_strategies) already.
vetrix::Result decide(std::unique_ptr<Formula> formula, int nb_var, const vetrix::Options &options);

} // namespace vetrix
