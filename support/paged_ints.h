// A growable array of ints in pages of its own, for the formula store.
#pragma once

#include <cstddef>

namespace vetrix {

// Storage comes from the kernel directly (mmap): growth moves page mappings
// instead of copying (mremap), so a store of hundreds of megabytes never
// exists twice, and a prefix that is no longer read can be given back while
// the rest is still in use. New slots read as 0.
class PagedInts {
  public:
    PagedInts() = default;
    PagedInts(const PagedInts &) = delete;
    PagedInts &operator=(const PagedInts &) = delete;
    ~PagedInts() { clear(); }

    int *data() { return data_; }
    const int *data() const { return data_; }
    size_t capacity() const { return capacity_; }

    // Makes room for at least count ints; ends the process with
    // "out of memory" when the system refuses.
    void reserve(size_t count);
    // Returns the pages that hold only slots below count to the system; they
    // read as 0 afterwards.
    void release_below(size_t count);
    // Returns every page.
    void clear();

  private:
    int *data_ = nullptr;
    size_t capacity_ = 0; // ints the mapping holds
};

} // namespace vetrix
