#include "support/formula.h"

#include <climits>

#include "support/literal.h"
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

void Formula::close_short_clause() {
    const size_t size = size_ - open_start_;
    if (size == 0)
        has_empty_ = true;
    store_clause();
    if (size == 1) {
        const int code = codes_.data()[open_start_ - 1];
        if (completes_unit_pair(code))
            keep_unit_pair(code);
    }
}

bool Formula::completes_unit_pair(int code) {
    const size_t var = static_cast<size_t>(lit_var(code));
    if (var >= unit_signs_.capacity())
        unit_signs_.reserve(var + 1); // pages only where unit clauses are
    int &signs = unit_signs_.data()[var];
    signs |= code_negative(code) ? 2 : 1;
    return signs == 3;
}

void Formula::keep_unit_pair(int code) {
    const bool empty_seen = has_empty_;
    clear();
    has_empty_ = empty_seen;
    unit_pair_ = true;
    for (int c : {lit_neg(code), code}) {
        add_code(c);
        store_clause();
    }
}

void Formula::release_before(int i) {
    codes_.release_below(static_cast<size_t>(start(i)));
    starts_.release_below(static_cast<size_t>(i));
}

void Formula::rewind() {
    size_ = open_start_ = 0;
    nb_clause_ = 0;
    unit_pair_ = false;
    has_empty_ = false;
    tail_codes_ = 0;
}

void Formula::clear() {
    codes_.clear();
    starts_.clear();
    unit_signs_.clear();
    starts_.reserve(1);
    size_ = open_start_ = 0;
    nb_clause_ = 0;
    unit_pair_ = false;
    has_empty_ = false;
    tail_codes_ = 0;
}

} // namespace vetrix
