// A portfolio: several branching strategies decide one formula at the same
// time, each in its own thread with its own solver, and the first verdict
// wins. The formula is read once and shared, read-only, by every solver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "solver/engine.h"

namespace vetrix {

// One strategy of the race and the proof it writes, if any.
struct RaceEntrant {
    int strategy;
    ProofWriter *proof = nullptr;
};

struct RaceResult {
    std::size_t winner = 0; // the entrant whose outcome is reported
    bool decided = false;   // it decided the formula; false when no entrant did
    SolveOutcome outcome{}; // its verdict text, counters and model
    // Per entrant, the conflicts it had learnt when it ended (0 when it
    // failed); filled only when the race waited for every entrant.
    std::vector<std::uint64_t> conflicts;
    // Per entrant, the CPU seconds its thread used; filled like conflicts.
    std::vector<double> cpu_seconds;
};

// Solves formula with every entrant (at least one) at once, each under
// control's stop flag and deadline. Returns once an entrant decides the formula (its
// outcome is the result) or every entrant has ended: then the outcome is
// the first entrant's that did not fail, and when every one failed the
// first entrant's failure is thrown again (a vetrix::Error).
//
// The other entrants are told to stop at their next decision or conflict.
// With wait_for_all, or when an entrant writes a proof, the race waits until
// each has ended; otherwise they end in the background, holding their own
// solver and their share of the formula, which the last one frees.
RaceResult race_strategies(std::unique_ptr<Formula> formula, int nb_var,
                           const std::vector<RaceEntrant> &entrants, const SolveControl &control,
                           bool wait_for_all);

// Reads file_name once, as the command line reads it (every reader message
// the same), and races the entrants on it.
RaceResult race_file(const char *file_name, const std::vector<RaceEntrant> &entrants,
                     const SolveControl &control, bool wait_for_all);

} // namespace vetrix
