// vetrix::Statistics, the counters of one solve: kept by the solver, carried
// by every Result and reported by the command line's --stats.
#pragma once

#include <cstdint>

namespace vetrix {

struct Statistics {
    std::uint64_t conflicts = 0;        // learnt cubes derived
    std::uint64_t decisions = 0;        // literals set as decisions
    std::uint64_t propagations = 0;     // literals set, decisions and derived
    std::uint64_t visits = 0;           // watch-list entries examined
    std::uint64_t passes = 0;           // search passes run
    std::uint64_t reviews_root = 0;     // reviews after literals were fixed at the root
    std::uint64_t reviews_plain = 0;    // reviews with nothing fixed at the root
    std::uint64_t recipes_included = 0; // learnt cubes added
    std::uint64_t recipes_deleted = 0;  // learnt cubes the reviews dropped
    std::uint64_t cubes_held = 0;       // cubes held at the end
};

} // namespace vetrix
