#include "support/paged_ints.h"

#include <sys/mman.h>
#include <unistd.h>

#include "support/uponeub.h"

namespace vetrix {

namespace {

size_t page_size() {
    static const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return size;
}

size_t round_to_pages(size_t bytes) {
    const size_t page = page_size();
    return (bytes + page - 1) / page * page;
}

// The size from which a store asks for large pages; below it a store's last
// large page, partly used, would cost more resident memory than it saves.
constexpr size_t HUGE_FROM = size_t{16} << 20;

} // namespace

void PagedInts::reserve(size_t count) {
    if (count <= capacity_)
        return;
    // Grow by half at least, so that appending costs amortised constant time.
    size_t want = capacity_ + capacity_ / 2;
    if (want < count)
        want = count;
    const size_t old_bytes = capacity_ * sizeof(int);
    const size_t bytes = round_to_pages(want * sizeof(int));
    void *p =
        data_ ? mremap(data_, old_bytes, bytes, MREMAP_MAYMOVE)
              : mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        out_of_memory();
    data_ = static_cast<int *>(p);
    capacity_ = bytes / sizeof(int);
    // A large store is filled front to back: pages of 2 MB, where the system
    // offers them, take one fault where 4 KB pages take 512.
    if (bytes >= HUGE_FROM)
        madvise(data_, bytes, MADV_HUGEPAGE);
}

void PagedInts::release_below(size_t count) {
    if (count > capacity_)
        count = capacity_;
    const size_t bytes = count * sizeof(int) / page_size() * page_size();
    if (bytes > 0)
        madvise(data_, bytes, MADV_DONTNEED);
}

void PagedInts::clear() {
    if (data_)
        munmap(data_, capacity_ * sizeof(int));
    data_ = nullptr;
    capacity_ = 0;
}

} // namespace vetrix
