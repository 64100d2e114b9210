#include "driver/progress_lines.h"

#include <cinttypes>
#include <cstdio>

namespace vetrix {

namespace {

// The header and the row format share their widths.
const char HEADER[] = "c  seconds  passes   conflicts   decisions  Mprops/s   learnt    fixed  reviews       MB\n";
const char ROW[] = "c %8.2f %7" PRIu64 " %11" PRIu64 " %11" PRIu64 " %9.2f %8" PRIu64 " %8" PRIu64 " %8" PRIu64 " %8.1f\n";

// Propagations per second since the line before (since the start for the
// first line), in millions.
struct Lines {
    bool header_written = false;
    double seconds = 0;
    std::uint64_t propagations = 0;

    void operator()(const vetrix::Progress &p) {
        if (!header_written) {
            std::fputs(HEADER, stderr);
            header_written = true;
        }
        const double span = p.seconds - seconds;
        const double rate = span > 0 ? static_cast<double>(p.propagations - propagations) / span / 1e6 : 0.0;
        seconds = p.seconds;
        propagations = p.propagations;
        char line[160];
        std::snprintf(line, sizeof line, ROW, p.seconds, p.passes, p.conflicts, p.decisions, rate,
                      p.learnt_held, p.fixed, p.reviews, p.peak_memory_mb);
        std::fputs(line, stderr);
    }
};

} // namespace

std::function<void(const vetrix::Progress &)> progress_lines() { return Lines(); }

} // namespace vetrix
