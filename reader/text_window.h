// The reader's view of its input: a window of buffered bytes ending in a NUL
// sentinel, refilled from the byte source as the scan moves on. The text is
// never held whole: only the window and the formula built so far.
#pragma once

#include <cstddef>
#include <memory>

#include "support/byte_source.h"

namespace vetrix {

class TextWindow {
  public:
    explicit TextWindow(ByteSource &source);

    const char *p;   // the current byte
    const char *lim; // one past the buffered bytes; *lim is 0

    // True when at least want bytes are buffered from p on; refills when
    // fewer are. False at the end of the input: then every byte left is
    // buffered.
    bool ahead(size_t want) { return static_cast<size_t>(lim - p) >= want || refill(want); }
    bool at_end() { return !ahead(1); }
    // The current byte, or 0 at the end of the input.
    unsigned char cur() {
        ahead(1);
        return static_cast<unsigned char>(*p);
    }
    // Moves to the next byte equal to c; false (at the end) when none is left.
    bool to_byte(char c);

  private:
    bool refill(size_t want);

    ByteSource &source_;
    std::unique_ptr<char[]> buf_;
    bool ended_ = false; // the source has no more bytes
};

} // namespace vetrix
