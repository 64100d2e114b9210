// A stream buffer over a C FILE: what a proof writer writes goes straight
// through the FILE's own buffer, in order with whatever else is written
// there (standard output's answer lines, a temporary file's later reading).
#pragma once

#include <cstdio>
#include <streambuf>

namespace vetrix {

class FileBuffer : public std::streambuf {
  public:
    explicit FileBuffer(std::FILE *file) : file_(file) {} // the FILE stays the caller's
    std::FILE *file() const { return file_; }

  protected:
    std::streamsize xsputn(const char *data, std::streamsize size) override;
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    std::FILE *file_;
};

} // namespace vetrix
