// vetrix::Error, the one failure of the library: thrown by every fatal
// message of the reader, the solver and the library's calls.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "vetrix/export.h"

namespace vetrix {

// A failure: the exact bytes the command line prints for it (most end with a
// line feed; the solver's capacity messages begin with one instead) and the
// exit status it ends with. Exported, so that a program catches it by type
// across a shared library's boundary.
class VETRIX_API Error : public std::runtime_error {
  public:
    explicit Error(const std::string &message, int status = 1)
        : std::runtime_error(message), message_(std::make_shared<const std::string>(message)),
          status_(status) {}
    // what() stops at a NUL byte; message() holds every byte.
    const std::string &message() const noexcept { return *message_; }
    int status() const noexcept { return status_; }

  private:
    std::shared_ptr<const std::string> message_; // shared: copies cannot throw
    int status_;
};

} // namespace vetrix
