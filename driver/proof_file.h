// The destination of --proof: a file created (or truncated) before anything
// is read, or standard output for "-". Its streams exist only when a proof
// is asked for: the command line otherwise constructs no C++ stream, whose
// locale set-up alone would touch half a megabyte of the C++ library.
#pragma once

#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace vetrix {

class ProofFile {
  public:
    // Opens name; on failure returns false with a one-line message in
    // error. A name that refers to the input file is refused: opening it
    // would truncate the formula before it is read.
    bool open(const std::string &name, const std::string &input, std::string &error);
    std::ostream *stream() { return stream_.get(); } // null when no proof is asked for
    // Closes; returns false with a message when any write failed.
    bool close(std::string &error);

  private:
    std::string name_;
    std::unique_ptr<std::streambuf> stdout_buf_; // "-": writes into standard output's stdio buffer
    std::unique_ptr<std::ostream> stream_;       // the proof's stream: a std::ofstream, or over stdout_buf_
};

} // namespace vetrix
