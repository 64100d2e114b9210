#include "reader/text_window.h"

#include <cstring>

namespace vetrix {

namespace {
// Large enough that a read costs little per byte, small enough to stay in
// the cache while it is scanned.
constexpr size_t WINDOW = 1 << 20;
} // namespace

TextWindow::TextWindow(ByteSource &source) : source_(source), buf_(new char[WINDOW + 1]) {
    p = lim = buf_.get();
    buf_[0] = '\0';
}

bool TextWindow::refill(size_t want) {
    char *const base = buf_.get();
    size_t have = static_cast<size_t>(lim - p);
    std::memmove(base, p, have);
    while (have < want && !ended_) {
        const size_t got = source_.read(base + have, WINDOW - have);
        if (got == 0)
            ended_ = true;
        have += got;
    }
    p = base;
    lim = base + have;
    base[have] = '\0';
    return have >= want;
}

bool TextWindow::to_byte(char c) {
    for (;;) {
        const void *hit = std::memchr(p, c, static_cast<size_t>(lim - p));
        if (hit) {
            p = static_cast<const char *>(hit);
            return true;
        }
        p = lim;
        if (!refill(1))
            return false;
    }
}

} // namespace vetrix
