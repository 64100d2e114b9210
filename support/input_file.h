// The input of a run: a file, or standard input for the name "-", plain or
// compressed with gzip, xz or bzip2. The first bytes decide the format, not
// the name; compressed input is decompressed block by block as it is read.
#pragma once

#include <memory>
#include <string>

#include "support/byte_source.h"

namespace vetrix {

// The text of stored bytes, told plain or compressed by its first bytes.
class DecodedText {
  public:
    // name is the one the messages about damaged input give.
    DecodedText(ByteSource &stored, const std::string &name);
    ~DecodedText();
    DecodedText(const DecodedText &) = delete;
    DecodedText &operator=(const DecodedText &) = delete;

    // The text's bytes, decompressed.
    ByteSource &text();
    // Decompresses what the reader left unread, so that damage after the
    // last clause read is reported too. Plain input is not read further.
    void check_rest();

  private:
    std::unique_ptr<ByteSource> head_;    // the stored bytes, first ones looked at
    std::unique_ptr<ByteSource> decoder_; // null for plain input
};

// A named input file, or standard input for "-".
class InputFile {
  public:
    // One that cannot be opened (missing, a directory, ...) ends the run
    // with "cannot open  file NAME".
    explicit InputFile(const char *name);
    ~InputFile();

    ByteSource &text() { return decoded_->text(); }
    void check_rest() { decoded_->check_rest(); }

  private:
    std::unique_ptr<ByteSource> stored_;
    std::unique_ptr<DecodedText> decoded_;
};

// The one-line report of damaged or unreadable compressed input:
// "cannot read  file NAME: PROBLEM".
[[noreturn]] void input_fault(const std::string &name, const char *problem);

} // namespace vetrix
