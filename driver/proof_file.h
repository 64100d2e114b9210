// The destination of --proof: a file created (or truncated) before anything
// is read, or standard output for "-", which the library writes itself. The
// file's stream exists only when a proof is asked for: the command line otherwise constructs no C++ stream, whose
// locale set-up alone would touch half a megabyte of the C++ library.
#pragma once

#include <fstream>
#include <memory>
#include <string>

namespace vetrix {

class ProofFile {
  public:
    // Opens name; on failure returns false with a one-line message in
    // error. A name that refers to the input file is refused: opening it
    // would truncate the formula before it is read.
    bool open(const std::string &name, const std::string &input, std::string &error);
    std::ostream *stream() { return stream_.get(); } // null for "-" and when no proof is asked for
    bool to_stdout() const { return name_ == "-"; }
    // Closes; returns false with a message when any write failed (on
    // standard output, when stdout_failed).
    bool close(bool stdout_failed, std::string &error);

  private:
    std::string name_;
    std::unique_ptr<std::ofstream> stream_; // the proof file's stream
};

} // namespace vetrix
