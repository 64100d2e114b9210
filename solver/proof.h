// Proof output, DRAT or LRAT. Each clause the solver adds or deletes is
// written as one step.
//
// DRAT: in the text format "lits 0" or "d lits 0", literals as signed DIMACS
// numbers; in the binary format 'a' or 'd', each literal 2v + sign as a
// variable-length number of 7-bit groups (low group first, high bit = more),
// then a 0 byte.
//
// LRAT: every clause has an ID (the input clauses 1, 2, ... in file order),
// and an addition names the clauses (hints) that make it follow by unit
// propagation. Text: "ID lits 0 hints 0", a deletion "LAST d IDs 0" with LAST
// the last ID given; binary: 'a', the ID, the literals, 0, the hints, 0, and
// 'd', the IDs, 0, every ID and hint h written as the number 2h like a
// literal.
//
// Steps collect in a large buffer that is handed to the stream in big blocks.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <ostream>
#include <vector>

namespace vetrix {

class LratIds;

// A clause ID of an LRAT proof.
using ClauseId = long long;

class ProofWriter {
  public:
    enum class Format { text, binary, lrat_text, lrat_binary };

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

    // LRAT steps. An addition: begin_addition(id), one literal() per code,
    // end_addition(hints). A deletion is one call; deletions in a row are
    // written as one step that lists their IDs.
    bool lrat() const { return lrat_; }
    bool binary() const { return binary_; }
    // The stream the steps go to, for a search that writes its own steps
    // there (the fast engine); this writer's buffer is flushed first.
    std::ostream &stream() {
        flush();
        return out_;
    }
    void begin_addition(ClauseId id);
    void end_addition(const std::vector<ClauseId> &hints);
    void deletion(ClauseId last, ClauseId id);

    // The clause of a cube the solver is about to rewrite, kept until the
    // rewritten cube is known; empty when the rewrite cannot change it.
    std::vector<int> held;
    // The clause IDs of an LRAT proof; made when the solve begins.
    std::unique_ptr<LratIds> ids;

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
    void number(ClauseId id);         // an ID or hint, as the encoding writes it, with its blank
    void end_deletions();             // ends the LRAT deletion step being written, if any

    std::ostream &out_;
    bool binary_;
    bool lrat_;
    bool deleting_ = false; // an LRAT deletion step is open
    std::vector<char> buffer_;
    std::size_t fill_ = 0;
    // Per code: the literal as written ("-12 " or its binary bytes), made on
    // first use; a literal is then one fixed-size copy.
    std::vector<char> texts_;
};

// The writer of every proof of every face: DRAT, or LRAT with lrat, in text
// or binary, on out.
std::unique_ptr<ProofWriter> make_proof_writer(std::ostream &out, bool binary, bool lrat);

} // namespace vetrix
