// The destination of --proof: a file created (or truncated) before anything
// is read, or standard output for "-".
#pragma once

#include <fstream>
#include <memory>
#include <string>

#include "solver/proof.h"

namespace vetrix {

class ProofFile {
  public:
    // Opens name for the given format; on failure returns false with a
    // one-line message in error. A name that refers to the input file is
    // refused: opening it would truncate the formula before it is read.
    bool open(const std::string &name, const std::string &input, ProofWriter::Format format,
              std::string &error);
    ProofWriter *writer() { return writer_.get(); }
    // Flushes and closes; returns false with a message when any write failed.
    bool close(std::string &error);

  private:
    std::string name_;
    std::ofstream file_;
    std::unique_ptr<ProofWriter> writer_;
};

} // namespace vetrix
