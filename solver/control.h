// What the caller of a solve controls besides the formula: where the proof
// goes, when the search has to give up without a verdict, and who hears of
// its progress. Everything is reached through the solve's own state, so
// solves in several threads each have their own.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>

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
};

// The deadline seconds after start.
inline SolveControl::Clock::time_point deadline_after(SolveControl::Clock::time_point start, double seconds) {
    return start + std::chrono::duration_cast<SolveControl::Clock::duration>(std::chrono::duration<double>(seconds));
}

// True when the search has to stop: the stop or cancel flag is raised or the
// deadline has passed. The clock is read only when a deadline is set.
inline bool stop_requested(const SolveControl &control) {
    if (control.stop && control.stop->load(std::memory_order_relaxed))
        return true;
    if (control.cancel && control.cancel->load(std::memory_order_relaxed))
        return true;
    return control.deadline != SolveControl::Clock::time_point::max() &&
           SolveControl::Clock::now() >= control.deadline;
}

} // namespace vetrix
