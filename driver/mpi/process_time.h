// The CPU time of this process so far, for the run's counters.
#pragma once

#include <ctime>

namespace vetrix {

inline double process_cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

} // namespace vetrix
