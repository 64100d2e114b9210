// vetrix::Progress, where a search stands: the numbers the solver hands to
// Options::progress and the command line's --verbose prints.
#pragma once

#include <cstdint>

namespace vetrix {

// The counters only grow from one call to the next, except learnt_held,
// which the reviews lower.
struct Progress {
    double seconds = 0;             // wall seconds since the search started
    std::uint64_t passes = 0;       // search passes begun
    std::uint64_t conflicts = 0;    // learnt cubes derived
    std::uint64_t decisions = 0;    // literals set as decisions
    std::uint64_t propagations = 0; // literals set, decisions and derived
    std::uint64_t learnt_held = 0;  // learnt cubes in the cube base now
    std::uint64_t fixed = 0;        // variables fixed at the root
    std::uint64_t reviews = 0;      // reviews of the cube base run
    double peak_memory_mb = 0;      // peak resident memory of the process
    bool last = false;              // the search has ended: no call follows
};

} // namespace vetrix
