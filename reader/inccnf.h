// Incremental CNF files: the problem line "p inccnf" (no counts), then clause
// lines and assumption lines "a L1 ... Lk 0", each a call of the solver on
// the clauses read so far under those assumptions. Comment lines begin with
// c. A clause may continue on the next line; so may an assumption line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "support/byte_source.h"

namespace vetrix {

// Reads the input's first bytes into head, up to its problem line (the first
// line, or the first line beginning with p after a leading comment line) and
// that line's end; true when that line is "p inccnf". A mistyped one ("p
// inccnfx", "p", a tab and "inccnf") ends the run with "wrong problem line:
// an incremental CNF begins with p inccnf". The bytes read stay in head, to
// be read again (PrefixedSource).
bool read_inccnf_head(ByteSource &input, std::string &head);

// The items of an incremental CNF text, one at a time.
class InccnfReader {
  public:
    enum class Item { clause, assumptions, end };

    // text starts with the problem line (or comments before it).
    explicit InccnfReader(ByteSource &text) : text_(text) {}
    // The next clause or assumption line, its literals (without the ending 0)
    // in lits. A token that is not a literal ends the run with "wrong token
    // T in line L"; a clause or assumption line the text ends inside, with
    // "something went wrong".
    Item next(std::vector<int> &lits);

  private:
    int peek();              // the next byte, or -1 at the end
    int get();               // the same, taken
    void skip_line();        // to the line's end, its line feed taken
    std::string token();     // the characters up to the next gap
    int literal(const std::string &t);

    ByteSource &text_;
    std::vector<char> buf_ = std::vector<char>(1 << 16);
    std::size_t pos_ = 0, end_ = 0;
    long long line_ = 1;
    bool at_line_start_ = true;
};

} // namespace vetrix
