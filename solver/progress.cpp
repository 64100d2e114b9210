// Progress reports to the caller's callback: the search's counters, at
// points where the state is whole (between passes, or at a conflict once the
// level is undone and the recipe included). A report is due when a tenth of
// the time since the start has passed since the last one, but never sooner
// than 0.1 s nor later than 1 s after it: about ten a second at first, one a
// second from the tenth second on.
#include <algorithm>

#include "solver/base_m456.h"
#include "support/peak_memory.h"

namespace vetrix {

namespace {

using Clock = SolveControl::Clock;

constexpr Clock::duration SHORTEST_GAP = std::chrono::milliseconds(100);
constexpr Clock::duration LONGEST_GAP = std::chrono::seconds(1);

vetrix::Progress counters(const CHpGN56 &s, Clock::time_point now) {
    vetrix::Progress p;
    p.seconds = std::chrono::duration<double>(now - s.control->start).count();
    p.passes = s.stats.passes;
    p.conflicts = s.stats.conflicts;
    p.decisions = s.stats.decisions;
    p.propagations = s.stats.propagations;
    p.learnt_held = static_cast<std::uint64_t>(s.nb_cub - s.nb_cub_orig);
    p.fixed = static_cast<std::uint64_t>(s.nb_fixed_released) + static_cast<std::uint64_t>(s.nb_der_lit_lev_0);
    p.reviews = s.stats.reviews_root + s.stats.reviews_plain;
    p.peak_memory_mb = peak_rss_mb();
    return p;
}

// Calls the callback when a report is due.
void tell_when_due(CHpGN56 &s) {
    const Clock::time_point now = Clock::now();
    const Clock::duration gap = std::clamp((now - s.control->start) / 10, SHORTEST_GAP, LONGEST_GAP);
    if (now - s.progress_told < gap)
        return;
    s.progress_told = now;
    (*s.control->progress)(counters(s, now));
}

bool has_callback(const SolveControl *control) { return control && control->progress; }

} // namespace

void progress_between_passes(CHpGN56 &s) {
    if (has_callback(s.control))
        tell_when_due(s);
}

void progress_within_pass(CHpGN56 &s) { tell_when_due(s); }

void progress_at_end(CHpGN56 &s) {
    if (!has_callback(s.control))
        return;
    vetrix::Progress p = counters(s, Clock::now());
    p.last = true;
    (*s.control->progress)(p);
}

void progress_without_search(const SolveControl *control) {
    if (!has_callback(control))
        return;
    vetrix::Progress p;
    p.seconds = std::chrono::duration<double>(Clock::now() - control->start).count();
    p.peak_memory_mb = peak_rss_mb();
    p.last = true;
    (*control->progress)(p);
}

} // namespace vetrix
