// The combined DRAT proof of a distributed run, written by rank 0 (text).
// Every worker's proof steps go in as they arrive, before the clauses that
// worker shares and before its cube's outcome, so each of its lemmas is
// written after everything it rests on: the input, its own earlier
// lemmas, and shared clauses, which were forwarded only after their
// source's steps were written. Deletions are dropped: a clause one worker
// deletes may still be held by another, and keeping it never breaks a
// later step.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vetrix {

class CombinedProof {
  public:
    CombinedProof() = default;
    CombinedProof(const CombinedProof &) = delete;
    CombinedProof &operator=(const CombinedProof &) = delete;
    ~CombinedProof();

    // False with the message in error when path cannot be created.
    bool open(const std::string &path, std::string &error);
    bool is_open() const { return out_ != nullptr; }
    // A worker's text DRAT steps, whole lines.
    void worker_steps(const std::string &text);
    // One added clause.
    void clause(const std::vector<int> &lits);
    // False with the message in error when writing failed.
    bool close(std::string &error);

    std::uint64_t bytes() const { return bytes_; }

  private:
    std::FILE *out_ = nullptr;
    std::string path_;
    std::uint64_t bytes_ = 0;
};

} // namespace vetrix
