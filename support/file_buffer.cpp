#include "support/file_buffer.h"

namespace vetrix {

std::streamsize FileBuffer::xsputn(const char *data, std::streamsize size) {
    return static_cast<std::streamsize>(std::fwrite(data, 1, static_cast<std::size_t>(size), file_));
}

FileBuffer::int_type FileBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    return std::fputc(c, file_) == EOF ? traits_type::eof() : c;
}

int FileBuffer::sync() { return std::fflush(file_) == 0 ? 0 : -1; }

} // namespace vetrix
