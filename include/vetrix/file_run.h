// A file decided as the command line decides it: the answer printed on
// standard output as the SAT competitions' lines, the counters and, for a
// race of strategies, its report given back. A file that holds many calls
// (p inccnf) is decided call by call as it is read, each call's answer
// printed when it is known.
//
//   vetrix::FileRun run;
//   run.options.strategy = 1;
//   const vetrix::FileAnswer answer = vetrix::print_file_answer("f.cnf", run);
//
// Every failure is a vetrix::Error whose message is exactly what the
// command line prints for it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "vetrix/export.h"
#include "vetrix/statistics.h"
#include "vetrix/strategy.h"
#include "vetrix/vetrix.h"

namespace vetrix {

struct FileRun {
    // The strategy, the limits, warm start, the stop flag, the progress
    // callback, the proof's stream and format; strategies not empty races
    // them (each listed at most once) on one read of the file.
    Options options;
    // The time limit counts from here.
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    // The proof goes to standard output, through its stdio buffer in order
    // with the answer (options.proof is not used then; no race).
    bool proof_to_stdout = false;
    // With a race: the proof stream of each strategy of options.strategies
    // (options.proof is not used then; RaceProofFiles::streams), or none.
    std::vector<std::ostream *> race_proofs;
    // A race waits for every strategy to stop, so that its conflicts are
    // exact; it always does when it writes proofs.
    bool wait_for_all = false;
};

// What a file's run gives back besides the printed answer.
struct FileAnswer {
    Statistics stats; // of the solve; of a race, the reported strategy's
    bool proof_failed = false; // a step of the proof on standard output was not written
    // A race: whether a strategy decided the file, the index in
    // options.strategies of the one reported (the winner, else the first
    // that did not fail) and, when the race waited for all, each one's
    // conflicts (0 when it failed) and the CPU seconds of its thread.
    bool decided = false;
    std::size_t reported = 0;
    std::vector<std::uint64_t> conflicts;
    std::vector<double> cpu_seconds;
};

// The proof file of a race on the command line: each strategy writes its
// proof into a temporary file .vetrix-proof-XXXXXX of its own beside it;
// keep() renames the reported strategy's onto the proof file and removes
// every other one, as the destructor removes every one still there.
class VETRIX_API RaceProofFiles {
  public:
    RaceProofFiles();
    ~RaceProofFiles();
    RaceProofFiles(const RaceProofFiles &) = delete;
    RaceProofFiles &operator=(const RaceProofFiles &) = delete;

    // Creates count temporary files beside name; on failure returns false
    // with a one-line message in error. name must be a regular file
    // (created already): it is replaced by the reported strategy's.
    bool open(const std::string &name, std::size_t count, std::string &error);
    bool is_open() const;
    // The files' streams, in the order of the strategies (FileRun::race_proofs);
    // none before open.
    std::vector<std::ostream *> streams();
    // Renames file k onto the proof file and removes every other one (all
    // of them when a write or the rename failed: then false with a message
    // in error). No stream may be in use.
    bool keep(std::size_t k, std::string &error);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Fails with "wrong strategy N" unless n is a strategy from 0 to last
// (the argument n of the command line names the exact ones only).
VETRIX_API void require_strategy(int n, int last);

// Reads path (standard input for "-"; plain or compressed), decides it and
// prints the answer on standard output, which is flushed. The proof streams
// are flushed before it returns; their state (or proof_failed) tells
// whether every step reached them.
VETRIX_API FileAnswer print_file_answer(const std::string &path, const FileRun &run);

// The peak resident memory of the process so far, in megabytes.
VETRIX_API double peak_memory_mb();

} // namespace vetrix
