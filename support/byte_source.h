// A source of the input's bytes, read block by block.
#pragma once

#include <cstddef>
#include <string>
#include <utility>

namespace vetrix {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Fills buf with up to capacity bytes; returns how many, 0 only at the
    // end of the input. A failure to read ends the run with a message.
    virtual size_t read(char *buf, size_t capacity) = 0;
};

// The bytes of a string held in memory.
class StringSource : public ByteSource {
  public:
    StringSource(const char *data, size_t size) : data_(data), left_(size) {}
    size_t read(char *buf, size_t capacity) override;

  private:
    const char *data_;
    size_t left_;
};

// Bytes already taken from a source, then the rest of that source: a look
// at the input's first bytes that leaves them to be read again.
class PrefixedSource : public ByteSource {
  public:
    PrefixedSource(std::string prefix, ByteSource &rest) : prefix_(std::move(prefix)), rest_(rest) {}
    size_t read(char *buf, size_t capacity) override;

  private:
    std::string prefix_;
    size_t taken_ = 0; // bytes of prefix_ handed out
    ByteSource &rest_;
};

} // namespace vetrix
