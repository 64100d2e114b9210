#include "support/byte_source.h"

#include <cstring>

namespace vetrix {

size_t StringSource::read(char *buf, size_t capacity) {
    const size_t n = left_ < capacity ? left_ : capacity;
    std::memcpy(buf, data_, n);
    data_ += n;
    left_ -= n;
    return n;
}

} // namespace vetrix
