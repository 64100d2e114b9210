// Restarts in two modes taken in turn. The focused mode restarts when the
// glue of recent learnt clauses rises above its long-run average; the
// stable mode restarts rarely, after runs of conflicts that follow the
// reluctant doubling sequence. Modes switch by effort (ticks), not time.
#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

constexpr double RESTART_MARGIN = 1.1;      // fast glue above slow glue times this restarts
constexpr int64_t RESTART_MIN_CONFLICTS = 2; // focused: conflicts between two restarts at least
constexpr int64_t LUBY_UNIT = 1024;          // stable: conflicts per unit of the sequence
constexpr int64_t FIRST_MODE_CONFLICTS = 1000; // the first focused phase

// The i-th element (from 1) of 1 1 2 1 1 2 4 1 1 2 1 1 2 4 8 ...
int64_t luby(int64_t i) {
    int64_t size = 1, seq = 0;
    while (size < i + 1) {
        ++seq;
        size = 2 * size + 1;
    }
    int64_t x = i;
    while (size - 1 != x) {
        size = (size - 1) >> 1;
        --seq;
        x = x % size;
    }
    return int64_t{1} << seq;
}

} // namespace

bool Internal::restart_due() const {
    if (decision_level() <= static_cast<int>(assumptions.size()))
        return false;
    if (stable)
        return stats.conflicts >= next_stable_restart;
    return stats.conflicts - restart_conflicts >= RESTART_MIN_CONFLICTS &&
           lbd_fast.value > RESTART_MARGIN * lbd_slow.value;
}

// Back to the level of the last assumption: a restart changes nothing
// about the assumptions, so their levels stay (with hundreds of them,
// deciding them again at every restart would be most of the work). Without
// assumptions it is the root, where new root facts simplify the clauses.
void Internal::restart() {
    ++stats.restarts;
    backtrack(static_cast<int>(assumptions.size()));
    restart_conflicts = stats.conflicts;
    if (stable) {
        ++stats.stable_restarts;
        next_stable_restart = stats.conflicts + LUBY_UNIT * luby(++luby_index);
    }
}

// The first focused phase lasts a fixed number of conflicts; the ticks it
// took are the unit of the later phases, each twice as long as the one
// before.
void Internal::update_mode() {
    if (!stable_enabled)
        return;
    if (mode_ticks == 0) {
        if (stats.conflicts < FIRST_MODE_CONFLICTS)
            return;
        mode_delta = ticks > 0 ? ticks : 1;
    } else if (ticks < mode_ticks) {
        return;
    } else {
        mode_delta *= 2;
    }
    mode_ticks = ticks + mode_delta;
    stable = !stable;
    ++stats.mode_switches;
    if (stable) {
        luby_index = 0;
        next_stable_restart = stats.conflicts + LUBY_UNIT * luby(++luby_index);
    }
    target_assigned = 0;
    restart();
}

} // namespace fast
} // namespace vetrix
