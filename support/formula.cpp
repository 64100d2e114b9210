#include "support/formula.h"

#include <climits>

#include "support/uponeub.h"

namespace vetrix {

void Formula::grow() {
    // Offsets are ints: a store beyond that is more than any solver state
    // could hold, and is reported like every failed allocation.
    if (size_ >= static_cast<size_t>(INT_MAX))
        out_of_memory();
    size_t want = size_ + 1;
    if (want < (1u << 16))
        want = 1u << 16;
    codes_.reserve(want);
}

void Formula::note_facts(const int *codes, int size) {
    if (size == 0)
        has_empty_ = true;
    if (size > 2)
        tail_codes_ += size - 2;
    for (int k = 0; k < size && k < 2; ++k) {
        const int c = codes[k];
        if (c < 2 && !lead_seen_[c]) {
            lead_seen_[c] = true;
            lead_unit_[c] = size == 1;
        }
    }
}

void Formula::close_clause() {
    note_facts(open_begin(), static_cast<int>(size_ - open_start_));
    ++nb_clause_;
    if (!storing_) {
        size_ = open_start_ = 0;
        return;
    }
    const size_t next = static_cast<size_t>(nb_clause_);
    if (next >= starts_.capacity())
        starts_.reserve(next + 1);
    starts_.data()[next] = static_cast<int>(size_);
    open_start_ = size_;
    if (stop_after_unit_pair_ && led_by_unit_pair()) {
        storing_ = false;
        codes_.clear();
        starts_.clear();
        size_ = open_start_ = 0;
    }
}

void Formula::release_before(int i) {
    codes_.release_below(static_cast<size_t>(start(i)));
    starts_.release_below(static_cast<size_t>(i));
}

void Formula::clear() {
    codes_.clear();
    starts_.clear();
    starts_.reserve(1);
    size_ = open_start_ = 0;
    nb_clause_ = 0;
    storing_ = true;
    has_empty_ = false;
    tail_codes_ = 0;
    lead_seen_[0] = lead_seen_[1] = lead_unit_[0] = lead_unit_[1] = false;
}

} // namespace vetrix
