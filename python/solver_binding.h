// The incremental solver vetrix::Solver as the compiled module's class
// Solver, for vetrix.Solver (python/vetrix/__init__.py).
#pragma once

#include <pybind11/pybind11.h>

namespace vetrix_python {

void bind_solver(pybind11::module_ &module);

} // namespace vetrix_python
