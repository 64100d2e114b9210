// Large pages for big tables that are read at random.
#pragma once

#include <cstddef>

namespace vetrix {

// Asks the system to back [data, data + bytes) with 2 MB pages where it
// offers them (transparent huge pages). A table read at
// random then costs one TLB entry per 2 MB instead of one per 4 KB. Tables
// under 16 MB are left alone: their last large page, partly used, would cost
// more resident memory than the misses it saves. Nothing changes but speed.
void advise_huge_pages(void *data, size_t bytes);

} // namespace vetrix
