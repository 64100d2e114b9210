// Counters of one solve, reported by the command line's --stats.
#pragma once

#include <cstdint>

struct SolveStats {
    std::uint64_t conflicts = 0;         // recipes derived (all-set cubes met)
    std::uint64_t decisions = 0;         // codes set as decisions
    std::uint64_t propagations = 0;      // codes set, decisions and derived
    std::uint64_t visits = 0;            // watch-list entries examined
    std::uint64_t passes = 0;            // search passes run
    std::uint64_t reviews_root = 0;      // reviews after codes were fixed at the root
    std::uint64_t reviews_plain = 0;     // reviews with nothing fixed at the root
    std::uint64_t recipes_included = 0;  // recipes added to the cube base
    std::uint64_t recipes_deleted = 0;   // learnt cubes the reviews dropped
    std::uint64_t cubes_held = 0;        // cubes in the base at the end
};
