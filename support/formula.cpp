#include "support/formula.h"

#include <algorithm>
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
    if (size == 0) {
        if (!has_empty_)
            empty_line_ = lines_;
        has_empty_ = true;
    }
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
    const int first_line = unit_clause_line(lit_neg(code));
    const bool empty_seen = has_empty_;
    const int lines = lines_, empty_line = empty_line_;
    clear();
    has_empty_ = empty_seen;
    lines_ = lines;
    empty_line_ = empty_line;
    pair_lines_[0] = first_line;
    pair_lines_[1] = lines;
    unit_pair_ = true;
    for (int c : {lit_neg(code), code}) {
        add_code(c);
        store_clause();
    }
}

int Formula::unit_clause_line(int code) const {
    for (int i = 0; i < nb_clause_; ++i)
        if (clause_size(i) == 1 && *clause_begin(i) == code)
            return clause_line(i);
    return 0;
}

void Formula::drop_clause() {
    ++lines_;
    if (!unit_pair_)
        dropped_at_.push_back(nb_clause_);
}

int Formula::clause_line(int i) const {
    if (unit_pair_)
        return pair_lines_[i];
    // The lines dropped before clause i are those dropped with at most i
    // clauses kept.
    const auto dropped = std::upper_bound(dropped_at_.begin(), dropped_at_.end(), i) - dropped_at_.begin();
    return i + 1 + static_cast<int>(dropped);
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
    lines_ = 0;
    empty_line_ = 0;
    dropped_at_.clear();
    pair_lines_[0] = pair_lines_[1] = 0;
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
    lines_ = 0;
    empty_line_ = 0;
    dropped_at_.clear();
    dropped_at_.shrink_to_fit();
    pair_lines_[0] = pair_lines_[1] = 0;
}

} // namespace vetrix
