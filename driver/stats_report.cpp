#include "driver/stats_report.h"

#include <cinttypes>
#include <cstdio>

#include "vetrix/file_run.h"

namespace vetrix {

namespace {

void line(const char *name, std::uint64_t value) {
    std::fprintf(stderr, "c %s: %" PRIu64 "\n", name, value);
}

} // namespace

void write_stats(const Statistics &stats, double wall_seconds) {
    line("conflicts", stats.conflicts);
    line("decisions", stats.decisions);
    line("propagations", stats.propagations);
    line("visits", stats.visits);
    line("passes", stats.passes);
    line("reviews_fixed", stats.reviews_root);
    line("reviews_plain", stats.reviews_plain);
    line("recipes_included", stats.recipes_included);
    line("recipes_deleted", stats.recipes_deleted);
    line("cubes_held", stats.cubes_held);
    std::fprintf(stderr, "c peak_rss_mb: %.1f\n", peak_memory_mb());
    std::fprintf(stderr, "c wall_seconds: %.3f\n", wall_seconds);
    std::fflush(stderr);
}

} // namespace vetrix
