// The CDCL loop of one solve call: propagate, analyze conflicts, and
// between conflicts restart, reduce, rephase, switch modes, simplify at the
// root and decide (assumptions first).
#include <algorithm>

#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

constexpr int64_t TERMINATE_DECISIONS = 64; // decisions between two terminate polls

int64_t limit_after(int64_t now, int64_t limit) { return limit < 0 ? INT64_MAX : now + limit; }

} // namespace

int Internal::solve() {
    ++stats.solves;
    std::fill(failed.begin(), failed.end(), 0);
    limit_conflicts = limit_after(stats.conflicts, limits.conflicts);
    limit_decisions = limit_after(stats.decisions, limits.decisions);
    limit_propagations = limit_after(stats.propagations, limits.propagations);
    next_progress = stats.conflicts + progress_period;
    // A level per assumption (an empty one for each already true) and one
    // per decision: more levels than variables under repeated assumptions.
    const size_t levels = static_cast<size_t>(nvars) + assumptions.size() + 1;
    if (level_stamp.size() < levels)
        level_stamp.resize(levels, 0);
    keep_assumed_out_of_heap();
    queue_search = queue_last; // backjumps move the walk's start only while the queue is on
    int result = 20;
    if (!inconsistent) {
        if (!propagate()) {
            inconsistent = true;
            proof_refutation();
        } else {
            eliminate();
            result = inconsistent ? 20 : search();
        }
    }
    if (result == 10) {
        save_model();
        if (!model_satisfies_original()) {
            stats.model_check_failed = true;
            result = 0;
        }
    }
    backtrack(0);
    assumptions.clear();
    return result;
}

bool Internal::stop_now() const {
    return stats.conflicts >= limit_conflicts || stats.propagations >= limit_propagations ||
           (terminate && terminate());
}

void Internal::report_progress() {
    next_progress = stats.conflicts + progress_period;
    progress(snapshot());
}

Progress Internal::snapshot() const {
    Progress p{};
    p.conflicts = stats.conflicts;
    p.decisions = stats.decisions;
    p.propagations = stats.propagations;
    p.irredundant = static_cast<int64_t>(irredundant.size()) + binary_irredundant;
    p.redundant = static_cast<int64_t>(redundant.size()) + binary_redundant;
    p.fixed = fixed();
    p.stable = stable;
    return p;
}

int Internal::search() {
    for (;;) {
        if (!propagate()) {
            ++stats.conflicts;
            if (decision_level() == 0) {
                inconsistent = true;
                proof_refutation();
                return 20;
            }
            analyze();
            if (stop_now())
                return 0;
            if (progress && stats.conflicts >= next_progress)
                report_progress();
            continue;
        }
        if (simplify_due())
            simplify();
        if (probe_due() || subsume_due() || vivify_due()) {
            if (probe_due())
                probe();
            else if (subsume_due())
                subsume();
            else
                vivify();
            if (inconsistent)
                return 20;
            continue;
        }
        update_mode();
        if (restart_due()) {
            restart();
            continue;
        }
        if (reduce_due())
            reduce();
        if (rephase_due())
            rephase();
        bool failed_now;
        Lit lit = next_assumption(failed_now);
        if (failed_now)
            return 20;
        if (lit == NO_LIT) {
            lit = decide_literal();
            if (lit == NO_LIT)
                return 10;
        }
        if (stats.decisions >= limit_decisions || stats.propagations >= limit_propagations)
            return 0;
        if (++stats.decisions % TERMINATE_DECISIONS == 0 && terminate && terminate())
            return 0;
        new_level();
        assign(lit, NO_REASON);
    }
}

} // namespace fast
} // namespace vetrix
