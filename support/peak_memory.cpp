#include "support/peak_memory.h"

#include <sys/resource.h>

namespace vetrix {

double peak_rss_mb() {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // Linux reports KB
}

} // namespace vetrix
