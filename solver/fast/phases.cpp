// Target and best phases, and rephasing: the saved phases are reset now and
// then to the best assignment seen, to the original phase, to its inverse
// or flipped, so that the search leaves a region where it got stuck.
#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

constexpr int64_t REPHASE_INTERVAL = 1000; // conflicts; the n-th rephase waits n times as long
// The rephase cycle: best phases between each of the others.
enum Rephase { BEST, ORIGINAL, INVERTED, FLIPPED };
constexpr Rephase CYCLE[] = {BEST, ORIGINAL, BEST, INVERTED, BEST, FLIPPED};
constexpr int64_t CYCLE_LENGTH = sizeof CYCLE / sizeof CYCLE[0];

} // namespace

// At a conflict, before jumping back: the assignment of the levels before
// the conflict's is without conflict; when it is the largest since the last
// rephase it becomes the target phases, when it is the largest so far also
// the best.
void Internal::update_target_and_best() {
    const size_t assigned = control.empty() ? trail.size() : static_cast<size_t>(control.back());
    if (stable && assigned > target_assigned) {
        target_assigned = assigned;
        for (size_t i = 0; i < assigned; ++i)
            target[static_cast<size_t>(var_of(trail[i]))] = static_cast<uint8_t>(trail[i] & 1);
    }
    if (assigned > best_assigned) {
        best_assigned = assigned;
        for (size_t i = 0; i < assigned; ++i)
            best[static_cast<size_t>(var_of(trail[i]))] = static_cast<uint8_t>(trail[i] & 1);
    }
}

bool Internal::rephase_due() const { return rephase_enabled && stats.conflicts >= next_rephase; }

void Internal::rephase() {
    ++stats.rephases;
    const Rephase kind = CYCLE[rephase_count % CYCLE_LENGTH];
    ++rephase_count;
    const size_t n = static_cast<size_t>(nvars);
    for (size_t v = 0; v < n; ++v) {
        switch (kind) {
        case BEST: saved[v] = best[v]; break;
        case ORIGINAL: saved[v] = 1; break;
        case INVERTED: saved[v] = 0; break;
        case FLIPPED: saved[v] ^= 1; break;
        }
        target[v] = saved[v];
    }
    target_assigned = 0;
    if (kind == BEST)
        best_assigned = 0;
    next_rephase = stats.conflicts + REPHASE_INTERVAL * (rephase_count + 1);
}

} // namespace fast
} // namespace vetrix
