#include "support/huge_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace vetrix {

namespace {

constexpr size_t HUGE_FROM = size_t{16} << 20;

} // namespace

void advise_huge_pages(void *data, size_t bytes) {
    if (!data || bytes < HUGE_FROM)
        return;
    // The advice goes to whole pages: from the page that holds the first
    // byte to the end of the page that holds the last. A table from the
    // allocator's own mapping (a large calloc) then covers that mapping
    // whole, so the mapping is not split and can still be moved by mremap
    // as it grows; the system backs only its 2 MB-aligned part with large
    // pages.
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(data) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes + page - 1) & ~(page - 1);
    madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}

} // namespace vetrix
