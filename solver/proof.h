// DRAT proof output. Each clause the solver adds or deletes is written as one
// step: in the text format "lits 0" or "d lits 0", literals as signed DIMACS
// numbers; in the binary format 'a' or 'd', each literal 2v + sign as a
// variable-length number of 7-bit groups (low group first, high bit = more),
// then a 0 byte. Steps collect in a large buffer that is handed to the stream
// in big blocks.
#pragma once

#include <cstddef>
#include <cstring>
#include <ostream>
#include <vector>

namespace vetrix {

class ProofWriter {
  public:
    enum class Format { text, binary };

    ProofWriter(std::ostream &out, Format format);
    ProofWriter(const ProofWriter &) = delete;
    ProofWriter &operator=(const ProofWriter &) = delete;
    ~ProofWriter(); // flushes

    // One step: begin, one call per literal code (the literal of code c is
    // the input literal of c), end.
    void begin_addition();
    void begin_deletion();
    void literal(int code) {
        make_room(SLOT);
        const std::size_t at = static_cast<std::size_t>(code) * SLOT;
        const char *text = at < texts_.size() && texts_[at + SLOT - 1] != 0 ? &texts_[at] : make_text(code);
        std::memcpy(buffer_.data() + fill_, text, SLOT);
        fill_ += static_cast<std::size_t>(text[SLOT - 1]);
    }
    void end();

    // The clause of a cube the solver is about to rewrite, kept until the
    // rewritten cube is known; empty when the rewrite cannot change it.
    std::vector<int> held;

    // Writes the buffer to the stream and flushes it.
    void flush();
    // True when the stream reported an error.
    bool failed() const { return out_.fail(); }

  private:
    static constexpr std::size_t SLOT = 16; // bytes of one cached literal text

    void drain(); // hands the buffer's content to the stream
    void make_room(std::size_t bytes) {
        if (fill_ + bytes > buffer_.size())
            drain();
    }
    const char *make_text(int code); // caches the text of a literal, its length in the last byte

    std::ostream &out_;
    bool binary_;
    std::vector<char> buffer_;
    std::size_t fill_ = 0;
    // Per code: the literal as written ("-12 " or its binary bytes), made on
    // first use; a literal is then one fixed-size copy.
    std::vector<char> texts_;
};

} // namespace vetrix
