// DIMACS literals as vetrix-mpi's tables index them.
#pragma once

#include <cstddef>

namespace vetrix {

// The variable of a DIMACS literal (nonzero, above INT_MIN).
inline std::size_t var_of(int lit) { return static_cast<std::size_t>(lit > 0 ? lit : -lit); }

} // namespace vetrix
