// Proof output: the text and binary encodings of a DRAT or LRAT step, the
// buffer and its hand-over to the stream (ProofWriter, declared in proof.h).
#include "solver/proof.h"

#include "solver/lrat.h"

namespace vetrix {

namespace {

constexpr std::size_t BUFFER_BYTES = 1 << 20;

// "00", "01", ..., "99" one after the other.
constexpr char DIGIT_PAIRS[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                               "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                               "8081828384858687888990919293949596979899";

} // namespace

ProofWriter::ProofWriter(std::ostream &out, Format format)
    : out_(out), binary_(format == Format::binary || format == Format::lrat_binary),
      lrat_(format == Format::lrat_text || format == Format::lrat_binary), buffer_(BUFFER_BYTES) {}

ProofWriter::~ProofWriter() { flush(); }

std::unique_ptr<ProofWriter> make_proof_writer(std::ostream &out, bool binary, bool lrat) {
    using Format = ProofWriter::Format;
    const Format format =
        lrat ? (binary ? Format::lrat_binary : Format::lrat_text) : (binary ? Format::binary : Format::text);
    return std::make_unique<ProofWriter>(out, format);
}

void ProofWriter::drain() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(fill_));
    fill_ = 0;
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

const char *ProofWriter::make_text(int code) {
    const std::size_t at = static_cast<std::size_t>(code) * SLOT;
    if (at >= texts_.size())
        texts_.resize(at + SLOT, 0); // grows geometrically
    char *slot = &texts_[at];
    const unsigned var = static_cast<unsigned>(code >> 1) + 1; // 1-based variable
    const bool negative = (code & 1) != 0;
    char *p = slot;
    if (binary_) {
        unsigned value = 2 * var + (negative ? 1 : 0);
        while (value > 127) {
            *p++ = static_cast<char>((value & 127) | 128);
            value >>= 7;
        }
        *p++ = static_cast<char>(value);
    } else {
        char digits[10];
        int n = 0;
        for (unsigned value = var; value != 0; value /= 10)
            digits[n++] = static_cast<char>('0' + value % 10);
        if (negative)
            *p++ = '-';
        while (n > 0)
            *p++ = digits[--n];
        *p++ = ' ';
    }
    slot[SLOT - 1] = static_cast<char>(p - slot);
    return slot;
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

void ProofWriter::number(ClauseId id) {
    make_room(24);
    char *p = buffer_.data() + fill_;
    if (binary_) {
        unsigned long long value = 2 * static_cast<unsigned long long>(id);
        while (value > 127) {
            *p++ = static_cast<char>((value & 127) | 128);
            value >>= 7;
        }
        *p++ = static_cast<char>(value);
    } else {
        // Two digits at a time from the end: IDs run to seven digits and
        // more, and an LRAT step writes several of them.
        char digits[20];
        int n = 20;
        unsigned long long value = static_cast<unsigned long long>(id);
        for (; value >= 100; value /= 100) {
            n -= 2;
            std::memcpy(digits + n, DIGIT_PAIRS + 2 * (value % 100), 2);
        }
        if (value >= 10) {
            n -= 2;
            std::memcpy(digits + n, DIGIT_PAIRS + 2 * value, 2);
        } else {
            digits[--n] = static_cast<char>('0' + value);
        }
        std::memcpy(p, digits + n, static_cast<std::size_t>(20 - n));
        p += 20 - n;
        *p++ = ' ';
    }
    fill_ = static_cast<std::size_t>(p - buffer_.data());
}

void ProofWriter::begin_addition(ClauseId id) {
    end_deletions();
    begin_addition();
    number(id);
}

void ProofWriter::end_addition(const std::vector<ClauseId> &hints) {
    make_room(2);
    if (binary_) {
        buffer_[fill_++] = 0;
    } else {
        buffer_[fill_++] = '0';
        buffer_[fill_++] = ' ';
    }
    for (ClauseId h : hints)
        number(h);
    end();
}

void ProofWriter::deletion(ClauseId last, ClauseId id) {
    if (!deleting_) {
        if (!binary_)
            number(last);
        begin_deletion();
        deleting_ = true;
    }
    number(id);
}

void ProofWriter::end_deletions() {
    if (deleting_)
        end();
    deleting_ = false;
}

void ProofWriter::flush() {
    end_deletions();
    drain();
    out_.flush();
}

} // namespace vetrix
