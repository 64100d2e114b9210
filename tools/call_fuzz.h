// Differential fuzzing of incremental call sequences: a sequence of clause
// additions and calls under assumptions, with the settings a program may
// use (strategy, warm start, limits, terminate and learn callbacks), run on
// vetrix through vetrix::Solver or IPASIR and checked call by call against
// CaDiCaL in the same process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace callfuzz {

// Where a sequence's choices come from: the bytes of a fuzzer's input, then
// a generator seeded by them; or a generator seeded by a number alone.
class Choices {
  public:
    explicit Choices(uint64_t seed) : state_(seed) {}
    Choices(const uint8_t *data, size_t size);
    int below(int n); // uniform enough in [0, n), n > 0
    bool percent(int chance) { return below(100) < chance; }

  private:
    const uint8_t *data_ = nullptr;
    size_t size_ = 0, at_ = 0;
    uint64_t state_;
};

using Clause = std::vector<int>;

struct Call {
    std::vector<Clause> added; // the clauses added before it
    std::vector<int> assumed;  // repeats and complements included
    int conflict_limit = 0;    // 0: none (vetrix::Solver only)
    int decision_limit = 0;    // 0: none (vetrix::Solver only)
    int terminate_after = -1;  // the callback says stop after this many polls; -1: no callback
};

struct Sequence {
    bool ipasir = false;       // through IPASIR, else vetrix::Solver
    int strategy = 0;          // 0, 1, 2, or 3: the fast engine
    bool warm = false;
    bool settings_first = false; // IPASIR: callbacks and warm start set before the strategy
    int learn_max = 0;         // the learn callback's bound; 0: none
    std::vector<Call> calls;
};

Sequence random_sequence(Choices &choices);

// What the checks have seen.
struct Tally {
    uint64_t calls = 0, unknown = 0, models = 0, cores = 0, learnt = 0;
};

// Runs the sequence and checks every call: the verdict is CaDiCaL's unless
// unknown under a limit or the terminate callback; a model satisfies every
// clause added and every assumption; a failed set is a subset of the
// assumptions that a fresh CaDiCaL refutes with the clauses; each learnt
// clause follows from the clauses. Returns "" or what failed first.
std::string check(const Sequence &sequence, Tally &tally);

// Checks what the command line printed for the sequence's incremental CNF
// file (no limits or callbacks) as check() checks the calls: one answer a
// call, CaDiCaL's verdict, the model's v lines, the failed set's f line.
std::string check_printed(const Sequence &sequence, const std::string &printed, Tally &tally);

// The sequence as an incremental CNF file that the command line replays;
// the settings stand in comment lines.
std::string to_inccnf(const Sequence &sequence);

// The clause and assumption lines of an incremental CNF text as a sequence
// of calls without limits or callbacks (false for a line it cannot read).
bool from_inccnf(const std::string &text, Sequence &sequence);

} // namespace callfuzz
