// --proof with --portfolio: each strategy writes its own proof to a
// temporary file in the proof file's directory; the reported strategy's is
// renamed onto the proof file, and every other one is removed.
#pragma once

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace vetrix {

class RaceProofs {
  public:
    RaceProofs() = default;
    RaceProofs(const RaceProofs &) = delete;
    RaceProofs &operator=(const RaceProofs &) = delete;
    // Removes every temporary file still there: after a failure no
    // temporary file remains.
    ~RaceProofs();

    // Creates count temporary files beside name; on failure returns false
    // with a one-line message in error. name must be a regular file
    // (created already): it is replaced by the winner's.
    bool open(const std::string &name, std::size_t count, std::string &error);
    bool is_open() const { return !temps_.empty(); }
    // The files' streams, in the order of the strategies; none before open.
    std::vector<std::ostream *> streams();
    // Closes file k and renames it onto the proof file; removes every
    // other one (all of them when a write or the rename failed: then false
    // with a message in error). Every stream must be idle.
    bool keep(std::size_t k, std::string &error);

  private:
    void remove_temps();

    struct Temp {
        std::string path;
        std::ofstream file;
    };
    std::string name_;
    std::vector<std::unique_ptr<Temp>> temps_;
};

} // namespace vetrix
