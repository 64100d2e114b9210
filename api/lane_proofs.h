// The proofs of a race in the library: each strategy writes its proof into
// an anonymous temporary file of its own (std::tmpfile, which the system
// removes once it is closed, even when the process ends abruptly), and the
// reported strategy's proof is then copied into the caller's stream.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

#include "solver/proof.h"
#include "support/file_buffer.h"

namespace vetrix {

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

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
        Lane(FilePtr owned, ProofWriter::Format format)
            : file(std::move(owned)), buffer(file.get()), stream(&buffer), writer(stream, format) {}
        FilePtr file;
        FileBuffer buffer;
        std::ostream stream;
        ProofWriter writer; // last: it flushes into the stream when destroyed
    };
    std::vector<std::unique_ptr<Lane>> lanes_;
};

} // namespace vetrix
