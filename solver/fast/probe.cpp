// Failed-literal probing: at the root, a literal whose propagation gives a
// conflict is false, and its complement becomes a root fact (it follows by
// unit propagation, so the proof takes it as it is). Only literals that
// imply something through a binary clause are probed; the round goes on
// from where the last one stopped, within a share of the search's ticks.
#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

constexpr int64_t PROBE_INTERVAL = 3000; // conflicts; the n-th round waits n times as long
constexpr int64_t PROBE_EFFORT = 5;      // percent of the search's ticks since the last round

bool has_binary(const std::vector<Watch> &list) {
    for (const Watch &w : list)
        if (w.ref == BINARY_WATCH)
            return true;
    return false;
}

} // namespace

bool Internal::probe_due() const { return probe_enabled && stats.conflicts >= next_probe; }

void Internal::probe() {
    ++stats.probe_rounds;
    backtrack(0);
    const int64_t stop_at = ticks + (ticks - probe_ticks) * PROBE_EFFORT / 100;
    const Lit lits = 2 * nvars;
    for (Lit tried = 0; tried < lits && ticks <= stop_at && !inconsistent; ++tried) {
        const Lit lit = probe_next;
        probe_next = probe_next + 1 < lits ? probe_next + 1 : 0;
        if (val(lit) != 0 || !has_binary(watches[static_cast<size_t>(lit ^ 1)]))
            continue;
        new_level();
        assign(lit, NO_REASON);
        const bool ok = propagate();
        if (!ok && lrat) { // the conflict's walk stops at the probed literal
            hint_begin();
            hint_mark(lit);
            hint_conflict();
        }
        backtrack(0);
        if (ok)
            continue;
        ++stats.failed_literals;
        const Lit unit = lit ^ 1;
        assign_unit(unit, proof_add(&unit, 1));
        if (!propagate()) {
            inconsistent = true;
            proof_refutation();
        }
    }
    probe_ticks = ticks;
    next_probe = stats.conflicts + PROBE_INTERVAL * (stats.probe_rounds + 1);
}

} // namespace fast
} // namespace vetrix
