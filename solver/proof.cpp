#include "solver/proof.h"

namespace {

constexpr std::size_t BUFFER_BYTES = 1 << 20;
constexpr std::size_t MAX_LITERAL_BYTES = 12; // "-2147483648 " or 5 binary groups

} // namespace

ProofWriter::ProofWriter(std::ostream &out, Format format)
    : out_(out), binary_(format == Format::binary), buffer_(BUFFER_BYTES) {}

ProofWriter::~ProofWriter() { flush(); }

void ProofWriter::drain() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(fill_));
    fill_ = 0;
}

void ProofWriter::make_room(std::size_t bytes) {
    if (fill_ + bytes > buffer_.size())
        drain();
}

void ProofWriter::begin_addition() {
    if (binary_) {
        make_room(1);
        buffer_[fill_++] = 'a';
    }
}

void ProofWriter::begin_deletion() {
    make_room(2);
    buffer_[fill_++] = 'd';
    if (!binary_)
        buffer_[fill_++] = ' ';
}

// Decimal digits, or 7-bit groups in the binary format.
void ProofWriter::put_number(unsigned value) {
    char *p = buffer_.data() + fill_;
    if (binary_) {
        while (value > 127) {
            *p++ = static_cast<char>((value & 127) | 128);
            value >>= 7;
        }
        *p++ = static_cast<char>(value);
    } else {
        char digits[10];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (n > 0)
            *p++ = digits[--n];
        *p++ = ' ';
    }
    fill_ = static_cast<std::size_t>(p - buffer_.data());
}

void ProofWriter::literal(int code) {
    make_room(MAX_LITERAL_BYTES);
    const unsigned var = static_cast<unsigned>(code >> 1) + 1; // 1-based variable
    const bool negative = (code & 1) != 0;
    if (binary_) {
        put_number(2 * var + (negative ? 1 : 0));
    } else {
        if (negative)
            buffer_[fill_++] = '-';
        put_number(var);
    }
}

void ProofWriter::end() {
    make_room(2);
    if (binary_) {
        buffer_[fill_++] = 0;
    } else {
        buffer_[fill_++] = '0';
        buffer_[fill_++] = '\n';
    }
}

void ProofWriter::flush() {
    drain();
    out_.flush();
}
