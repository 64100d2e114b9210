// The proofs of a race in the library: each strategy writes its proof into
// an anonymous temporary file of its own (std::tmpfile, which the system
// removes once it is closed, even when the process ends abruptly), and the
// reported strategy's proof is then copied into the caller's stream.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <ostream>
#include <streambuf>
#include <utility>
#include <vector>

#include "solver/proof.h"

namespace vetrix {

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A stream buffer that writes straight into a FILE, which it owns.
class FileBuffer : public std::streambuf {
  public:
    explicit FileBuffer(FilePtr file) : file_(std::move(file)) {}
    std::FILE *file() const { return file_.get(); }

  protected:
    std::streamsize xsputn(const char *data, std::streamsize size) override;
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    FilePtr file_;
};

class LaneProofs {
  public:
    // A temporary file and a proof writer of the format for each of count
    // strategies; fails with a vetrix::Error when a file cannot be created.
    LaneProofs(std::size_t count, ProofWriter::Format format);
    ProofWriter *writer(std::size_t k) { return &lanes_[k]->writer; }
    // Copies lane k's proof into out; when its temporary file could not be
    // written or read, out's badbit is set instead, as a failed write to out
    // itself would set it. Every writer must be idle.
    void copy(std::size_t k, std::ostream &out);

  private:
    struct Lane {
        Lane(FilePtr file, ProofWriter::Format format)
            : buffer(std::move(file)), stream(&buffer), writer(stream, format) {}
        FileBuffer buffer;
        std::ostream stream;
        ProofWriter writer; // last: it flushes into the stream when destroyed
    };
    std::vector<std::unique_ptr<Lane>> lanes_;
};

} // namespace vetrix
