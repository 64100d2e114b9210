// Peak resident memory of the process, for the reports of --stats and the
// progress lines.
#pragma once

namespace vetrix {

// The largest resident set size the process has had so far, in MB.
double peak_rss_mb();

} // namespace vetrix
