// The proofs of a race: each strategy writes its proof into a temporary
// file of its own, and the reported strategy's proof then goes where the
// race's proof goes. For a proof file (the command line's --proof), the
// temporary files are created beside it and the reported one is renamed
// onto it; for a stream (Options::proof), they are anonymous (std::tmpfile,
// which the system removes once closed, even when the process ends
// abruptly) and the reported one is copied into the stream. Every other
// temporary file is removed.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/file_buffer.h"

namespace vetrix {

class LaneProofs {
  public:
    LaneProofs() = default;
    LaneProofs(const LaneProofs &) = delete;
    LaneProofs &operator=(const LaneProofs &) = delete;
    // Removes every temporary file still there: after a failure none
    // remains.
    ~LaneProofs();

    // count anonymous temporary files; false with a message in error.
    bool create(std::size_t count, std::string &error);
    // count temporary files .vetrix-proof-XXXXXX in the directory of path,
    // with the mode a proof file created there would get; false with a
    // one-line message in error. path must be a regular file (created
    // already): keep() replaces it.
    bool create_beside(const std::string &path, std::size_t count, std::string &error);
    bool empty() const { return lanes_.empty(); }
    std::size_t size() const { return lanes_.size(); }
    // The stream of strategy k's file.
    std::ostream &stream(std::size_t k) { return lanes_[k]->stream; }

    // Copies file k into out; when it could not be written or read, out's
    // badbit is set instead, as a failed write to out itself would set it.
    // Nothing may be writing to file k.
    void copy(std::size_t k, std::ostream &out);
    // Closes file k and renames it onto the path of create_beside; removes
    // every other one (all of them when a write or the rename failed: then
    // false with a message in error). Nothing may be writing to any file.
    bool keep(std::size_t k, std::string &error);

  private:
    struct FileCloser {
        void operator()(std::FILE *file) const { std::fclose(file); }
    };
    using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
    struct Lane {
        Lane(FilePtr owned, std::string named) : path(std::move(named)), file(std::move(owned)), buffer(file.get()) {}
        std::string path; // empty for an anonymous file
        FilePtr file;
        FileBuffer buffer;
        std::ostream stream{&buffer};
    };
    void remove_all();

    std::string path_; // of create_beside
    std::vector<std::unique_ptr<Lane>> lanes_;
};

} // namespace vetrix
