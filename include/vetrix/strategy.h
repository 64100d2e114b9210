// The strategies by number, as Options::strategy and Solver take them.
#pragma once

namespace vetrix {

// The strategy "fast": the fast engine, free of the exact strategies' search order
// of strategies 0, 1 and 2. The default of the incremental faces.
constexpr int FAST_STRATEGY = 3;
// The last of the exact strategies, which the command line's argument n names.
constexpr int LAST_SPECIFIED_STRATEGY = 2;

} // namespace vetrix
