// The formula: one flat store of literal codes with one start per clause.
#pragma once

#include "support/paged_ints.h"

namespace vetrix {

// Clause i holds the codes at codes()[start(i) .. start(i + 1)), in order of
// first appearance on its clause line; clauses are in file order. Building
// appends codes to an open clause and closes it (or discards it); there is no
// allocation per clause. Set-up reads the clauses in order and gives back the
// store behind it as it goes.
//
// Beside the clauses the formula keeps a few facts of every clause closed,
// from which the solver can decide some runs without the clauses: whether a
// clause is empty, how many codes lie beyond the first two of each clause
// (the cube tails), and which clause first holds code 0, and code 1, among
// its first two codes (the first cube each of them watches).
class Formula {
  public:
    Formula() { starts_.reserve(1); }
    Formula(const Formula &) = delete;
    Formula &operator=(const Formula &) = delete;

    int clause_count() const { return nb_clause_; }
    // False once the clauses are no longer stored (see stop_storing_...).
    bool stored() const { return storing_; }
    int clause_size(int i) const { return start(i + 1) - start(i); }
    const int *clause_begin(int i) const { return codes_.data() + start(i); }
    const int *clause_end(int i) const { return codes_.data() + start(i + 1); }

    bool has_empty_clause() const { return has_empty_; }
    long long tail_codes() const { return tail_codes_; }
    // True when the first clause holding code 0 among its first two codes is
    // the unit clause of code 0, and likewise for code 1.
    bool led_by_unit_pair() const { return lead_unit_[0] && lead_unit_[1]; }

    // ---- building ----
    // Room for nb_clause closed clauses without growing the starts.
    void reserve_clauses(int nb_clause) { starts_.reserve(static_cast<size_t>(nb_clause) + 1); }
    // Once led_by_unit_pair() holds, closed clauses are counted and their
    // facts kept, but their codes are not stored any more.
    void stop_storing_after_unit_pair() { stop_after_unit_pair_ = true; }
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
    void close_clause();
    // Forgets the codes of the open clause.
    void discard_open_clause() { size_ = open_start_; }

    // ---- consuming ----
    // Clauses below i are no longer read: their storage goes back.
    void release_before(int i);
    // Releases everything; the formula is empty afterwards.
    void clear();

  private:
    int start(int i) const { return starts_.data()[i]; }
    void grow();
    void note_facts(const int *codes, int size);

    PagedInts codes_;       // every clause's codes, clause after clause
    PagedInts starts_;      // per clause [0, nb_clause]: offset of its first code
    size_t size_ = 0;       // codes stored, the open clause's included
    size_t open_start_ = 0; // offset of the open clause's first code
    int nb_clause_ = 0;     // closed clauses
    bool storing_ = true;
    bool stop_after_unit_pair_ = false;
    bool has_empty_ = false;
    long long tail_codes_ = 0;
    bool lead_seen_[2] = {false, false}; // per code 0, 1: a clause holds it among its first two
    bool lead_unit_[2] = {false, false}; // per code 0, 1: that clause is its unit clause
};

} // namespace vetrix
