// What the caller of a solve controls besides the formula: where the proof
// goes, when the search has to give up without a verdict, and who hears of
// its progress. Everything is reached through the solve's own state, so
// solves in several threads each have their own.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "vetrix/progress.h"

namespace vetrix {

class ProofWriter;

struct SolveControl {
    using Clock = std::chrono::steady_clock;

    ProofWriter *proof = nullptr;                     // DRAT output, or none
    Clock::time_point deadline = Clock::time_point::max(); // stop at the first decision or conflict after it
    const std::atomic<bool> *stop = nullptr;          // raised from outside (a signal) to stop likewise
    const std::atomic<bool> *cancel = nullptr;        // raised when another search of the same formula
                                                      // has decided it: stop likewise
    const std::function<void(const vetrix::Progress &)> *progress = nullptr; // told of progress, or none
    Clock::time_point start = Clock::now();           // Progress::seconds count from here

    // The bounds of a search, as totals of the solver's counters: the
    // search stops once one is reached. An incremental file's calls take
    // them as each call's own budget.
    static constexpr std::uint64_t NO_LIMIT = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t conflict_limit = NO_LIMIT;
    std::uint64_t decision_limit = NO_LIMIT;
    std::uint64_t propagation_limit = NO_LIMIT;
    const std::function<bool()> *terminate = nullptr; // asked with the stop flags; true stops likewise
    const std::function<void(const std::vector<int> &)> *learn = nullptr; // handed each learnt clause ...
    int learn_max_size = 0;                           // ... of at most this many literals
    bool warm_start = false;                          // an incremental file's calls decide in the
                                                      // polarity of the last model
};

// The deadline seconds after start.
inline SolveControl::Clock::time_point deadline_after(SolveControl::Clock::time_point start, double seconds) {
    return start + std::chrono::duration_cast<SolveControl::Clock::duration>(std::chrono::duration<double>(seconds));
}

// The total a counter at done reaches after budget more; a budget of 0 or
// below is no limit.
inline std::uint64_t limit_after(std::uint64_t done, std::int64_t budget) {
    return budget > 0 ? done + static_cast<std::uint64_t>(budget) : SolveControl::NO_LIMIT;
}

// The limit a bound set as a total from 0 (or none) sets after done.
inline std::uint64_t limit_moved(std::uint64_t done, std::uint64_t total) {
    return total == SolveControl::NO_LIMIT ? total : done + total;
}

// True when the search has to stop: the stop or cancel flag is raised or the
// deadline has passed. The clock is read only when a deadline is set.
inline bool stop_requested(const SolveControl &control) {
    if (control.stop && control.stop->load(std::memory_order_relaxed))
        return true;
    if (control.cancel && control.cancel->load(std::memory_order_relaxed))
        return true;
    if (control.terminate && (*control.terminate)())
        return true;
    return control.deadline != SolveControl::Clock::time_point::max() &&
           SolveControl::Clock::now() >= control.deadline;
}

} // namespace vetrix
