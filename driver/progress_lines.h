// The lines of --verbose: the search's progress as a table on standard
// error, every line beginning with "c ".
#pragma once

#include <functional>

#include "vetrix/vetrix.h"

namespace vetrix {

// A progress callback that writes the column header at its first call and
// one line per call after it.
std::function<void(const vetrix::Progress &)> progress_lines();

} // namespace vetrix
