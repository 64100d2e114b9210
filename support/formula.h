// The formula: one flat store of literal codes with one start per clause.
#pragma once

#include <vector>

#include "support/paged_ints.h"

namespace vetrix {

// Clause i holds the codes at codes()[start(i) .. start(i + 1)), in order of
// first appearance on its clause line; clauses are in file order. Building
// appends codes to an open clause and closes it (or discards it); there is no
// allocation per clause. Set-up reads the clauses in order and gives back the
// store behind it as it goes.
//
// Beside the clauses the formula keeps a few facts of every clause closed:
// whether a clause is empty, and how many codes lie beyond the first two of
// each clause (the cube tails).
//
// A unit clause whose complement was an earlier unit clause makes the
// formula unsatisfiable, whatever the other clauses hold. From that clause on
// the formula holds just the two unit clauses, the earlier one first: every
// clause stored before is given back, and clauses closed later are neither
// stored nor counted.
class Formula {
  public:
    Formula() { starts_.reserve(1); }
    Formula(const Formula &) = delete;
    Formula &operator=(const Formula &) = delete;

    int clause_count() const { return nb_clause_; }
    int clause_size(int i) const { return start(i + 1) - start(i); }
    const int *clause_begin(int i) const { return codes_.data() + start(i); }
    const int *clause_end(int i) const { return codes_.data() + start(i + 1); }

    bool has_empty_clause() const { return has_empty_; }
    // True once a unit clause met the unit clause of its complement.
    bool has_complementary_units() const { return unit_pair_; }
    long long tail_codes() const { return tail_codes_; }

    // ---- clause lines ----
    // Clause lines read, kept or not.
    int clause_lines() const { return lines_; }
    // The line of kept clause i.
    int clause_line(int i) const;
    // The line of the first empty clause, when there is one.
    int empty_clause_line() const { return empty_line_; }

    // ---- building ----
    // Room for nb_clause closed clauses without growing the starts.
    void reserve_clauses(int nb_clause) { starts_.reserve(static_cast<size_t>(nb_clause) + 1); }
    // Appends code to the open clause.
    void add_code(int code) {
        if (size_ == codes_.capacity())
            grow();
        codes_.data()[size_++] = code;
    }
    // The codes of the open clause so far.
    const int *open_begin() const { return codes_.data() + open_start_; }
    const int *open_end() const { return codes_.data() + size_; }
    // The open clause becomes the last clause; a new open clause begins.
    void close_clause() {
        ++lines_;
        if (unit_pair_) { // read and checked, no longer kept
            size_ = open_start_;
            return;
        }
        const size_t size = size_ - open_start_;
        if (size < 2)
            return close_short_clause();
        tail_codes_ += static_cast<long long>(size - 2);
        store_clause();
    }
    // Forgets the codes of the open clause.
    void discard_open_clause() { size_ = open_start_; }
    // Counts a clause line that is not kept (dropped as always true).
    void drop_clause();

    // ---- consuming ----
    // Clauses below i are no longer read: their storage goes back.
    void release_before(int i);
    // Releases everything; the formula is empty afterwards.
    void clear();
    // Forgets the clauses but keeps the storage, for a formula filled again
    // and again (an incremental solver's clauses between two calls). The
    // unit clauses seen stay known: a later unit clause of the complement
    // still closes a pair.
    void rewind();

  private:
    int start(int i) const { return starts_.data()[i]; }
    void grow();
    // Appends the open clause's end to the starts.
    void store_clause() {
        const size_t next = static_cast<size_t>(++nb_clause_);
        if (next >= starts_.capacity())
            starts_.reserve(next + 1);
        starts_.data()[next] = static_cast<int>(size_);
        open_start_ = size_;
    }
    // close_clause for a clause of at most one code.
    void close_short_clause();
    // True when unit clause code's complement was a unit clause before.
    bool completes_unit_pair(int code);
    // Keeps the unit clauses of code's complement and code, and nothing else.
    void keep_unit_pair(int code);
    // The line of the first kept unit clause of code.
    int unit_clause_line(int code) const;

    PagedInts codes_;       // every clause's codes, clause after clause
    PagedInts starts_;      // per clause [0, nb_clause]: offset of its first code
    PagedInts unit_signs_;  // per variable: bit 0 its positive unit clause seen, bit 1 its negative
    size_t size_ = 0;       // codes stored, the open clause's included
    size_t open_start_ = 0; // offset of the open clause's first code
    int nb_clause_ = 0;     // closed clauses
    bool unit_pair_ = false;
    bool has_empty_ = false;
    long long tail_codes_ = 0;
    int lines_ = 0;               // clause lines read
    int empty_line_ = 0;          // the first empty clause's line, 0 when none
    std::vector<int> dropped_at_; // per line not kept: the clauses kept before it
    int pair_lines_[2] = {0, 0};  // after a unit pair: the lines of its two clauses
};

} // namespace vetrix
