// The combined DRAT proof of a distributed run, written by rank 0 (text).
// Every worker's proof steps go in as they arrive, before the clauses that
// worker shares and before its cube's outcome, so each of its lemmas is
// written after everything it rests on: the input, its own earlier
// lemmas, and shared clauses, which were forwarded only after their
// source's steps were written.
//
// A clause one worker deletes may still be held by another, so deletions
// are counted instead of copied: every clause has holders (each worker for
// an input clause, its author for a lemma, each worker a shared clause was
// forwarded to, and the pool of shared clauses for good) and copies in the
// proof (each addition written, each input clause); a worker's deletion
// takes one holder away, and only when none is left are the copies deleted.
// The checker's clauses are then always a superset of every worker's.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "vetrix/cnf_file.h"

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
    // The input clauses, each held by every one of workers.
    void take_input(const Cnf &cnf, int workers);
    // A worker's text DRAT steps, whole lines.
    void worker_steps(const std::string &text);
    // One more holder of clause: the pool, or a worker it is forwarded to.
    void hold(const std::vector<int> &clause);
    // One clause of rank 0's own, never deleted.
    void clause(const std::vector<int> &lits);
    // False with the message in error when writing failed.
    bool close(std::string &error);

    std::uint64_t bytes() const { return bytes_; }

  private:
    struct Count {
        int holders = 0;
        int copies = 0;
    };
    void write(const char *data, std::size_t size);
    // The clause of one step line (after a "d " when deletion).
    static std::vector<int> key_of(const std::string &text, std::size_t at, std::size_t end);

    std::FILE *out_ = nullptr;
    std::string path_;
    std::uint64_t bytes_ = 0;
    std::map<std::vector<int>, Count> counts_; // per clause, literals sorted
};

} // namespace vetrix
