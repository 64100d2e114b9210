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

size_t PrefixedSource::read(char *buf, size_t capacity) {
    if (taken_ == prefix_.size())
        return rest_.read(buf, capacity);
    const size_t n = prefix_.size() - taken_ < capacity ? prefix_.size() - taken_ : capacity;
    std::memcpy(buf, prefix_.data() + taken_, n);
    taken_ += n;
    return n;
}

} // namespace vetrix
