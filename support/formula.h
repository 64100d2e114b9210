// The formula: one flat store of literal codes with one start per clause.
#pragma once

#include "support/paged_ints.h"

// Clause i holds the codes at codes()[start(i) .. start(i + 1)), in order of
// first appearance on its clause line; clauses are in file order. Building
// appends codes to an open clause and closes it (or discards it); there is no
// allocation per clause. Set-up reads the clauses in order and gives back the
// store behind it as it goes.
class Formula {
  public:
    Formula() { starts_.reserve(1); }
    Formula(const Formula &) = delete;
    Formula &operator=(const Formula &) = delete;

    int clause_count() const { return nb_clause_; }
    int clause_size(int i) const { return start(i + 1) - start(i); }
    const int *clause_begin(int i) const { return codes_.data() + start(i); }
    const int *clause_end(int i) const { return codes_.data() + start(i + 1); }

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
    const int *open_begin() const { return codes_.data() + start(nb_clause_); }
    const int *open_end() const { return codes_.data() + size_; }
    // The open clause becomes the last clause; a new open clause begins.
    void close_clause();
    // Forgets the codes of the open clause.
    void discard_open_clause() { size_ = static_cast<size_t>(start(nb_clause_)); }

    // ---- consuming ----
    // Clauses below i are no longer read: their storage goes back.
    void release_before(int i);
    // Releases everything; the formula is empty afterwards.
    void clear();

  private:
    int start(int i) const { return starts_.data()[i]; }
    void grow();

    PagedInts codes_;   // every clause's codes, clause after clause
    PagedInts starts_;  // per clause [0, nb_clause]: offset of its first code
    size_t size_ = 0;   // codes stored, the open clause's included
    int nb_clause_ = 0; // closed clauses
};
