// Decoders of compressed input, each a byte source over the stored bytes.
// Every one reports damage through input_fault, naming the file.
#pragma once

#include <memory>
#include <string>

#include "support/byte_source.h"

namespace vetrix {

// What every decoder shares: the stored bytes it decodes, read a block at a
// time into in_, and the file's name for its messages.
class DecodingSource : public ByteSource {
  protected:
    DecodingSource(ByteSource &raw, const std::string &name) : name_(name), raw_(raw) {}

    // Reads the next block of stored bytes into in_; returns its size, 0
    // once they are all read (raw_ended_ is then set).
    size_t fetch_raw() {
        const size_t got = raw_.read(in_, sizeof in_);
        raw_ended_ = got == 0;
        return got;
    }

    std::string name_;
    char in_[1 << 16];
    bool raw_ended_ = false;

  private:
    ByteSource &raw_;
};

std::unique_ptr<ByteSource> gzip_decoder(ByteSource &raw, const std::string &name);
std::unique_ptr<ByteSource> xz_decoder(ByteSource &raw, const std::string &name);
std::unique_ptr<ByteSource> bzip2_decoder(ByteSource &raw, const std::string &name);

} // namespace vetrix
