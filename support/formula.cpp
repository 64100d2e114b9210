#include "support/formula.h"

#include <climits>

#include "support/uponeub.h"

void Formula::grow() {
    // Offsets are ints: a store beyond that is more than any solver state
    // could hold, and is reported like every failed allocation.
    if (size_ >= static_cast<size_t>(INT_MAX))
        fatal("out of memory\n");
    size_t want = size_ + 1;
    if (want < (1u << 16))
        want = 1u << 16;
    codes_.reserve(want);
}

void Formula::close_clause() {
    const size_t next = static_cast<size_t>(nb_clause_) + 1;
    if (next >= starts_.capacity())
        starts_.reserve(next + 1);
    starts_.data()[next] = static_cast<int>(size_);
    nb_clause_ = static_cast<int>(next);
}

void Formula::release_before(int i) {
    codes_.release_below(static_cast<size_t>(start(i)));
    starts_.release_below(static_cast<size_t>(i));
}

void Formula::clear() {
    codes_.clear();
    starts_.clear();
    starts_.reserve(1);
    size_ = 0;
    nb_clause_ = 0;
}
