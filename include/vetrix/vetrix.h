// vetrix as a library: decide a CNF formula from a C++ program.
//
//   vetrix::Result r = vetrix::solve(3, {{1, -2}, {2, 3}, {-1}});
//   if (r.verdict == vetrix::Verdict::satisfiable) ... r.model ...
//
// Every call is independent of every other: calls in several threads at once
// give the same results as the same calls one after another. Every failure is
// a vetrix::Error; the library never ends the process and keeps nothing
// allocated after a call, whether it returns or throws.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vetrix {

enum class Verdict { satisfiable, unsatisfiable, unknown };

// Where a search stands, for Options::progress. The counters only grow
// from one call to the next, except learnt_held, which the reviews lower.
struct Progress {
    double seconds = 0;               // wall seconds since the search started
    std::uint64_t passes = 0;         // search passes begun
    std::uint64_t conflicts = 0;      // learnt cubes derived
    std::uint64_t decisions = 0;      // literals set as decisions
    std::uint64_t propagations = 0;   // literals set, decisions and derived
    std::uint64_t learnt_held = 0;    // learnt cubes in the cube base now
    std::uint64_t fixed = 0;          // variables fixed at the root
    std::uint64_t reviews = 0;        // reviews of the cube base run
    double peak_memory_mb = 0;        // peak resident memory of the process
    bool last = false;                // the search has ended: no call follows
};

struct Options {
    int strategy = 0;              // branching strategy 0, 1 or 2
    std::ostream *proof = nullptr; // DRAT proof (text) written while solving, or none
    double time_limit = 0;         // seconds from the start of the search, 0 = none;
                                   // past it the verdict is unknown
    // The progress callback, when set, is called in the solving thread, never
    // in the middle of a propagation: after a pass and its review, or at a
    // conflict within a long pass, when 0.1 s to 1 s have passed since the
    // last call (a tenth of the time since the start), and once when the
    // search ends (last). An exception it throws ends the solve and reaches
    // the caller.
    std::function<void(const Progress &)> progress; // called after passes with the search's counters, or empty
};

// Counters of one solve, as the command line's --stats reports them.
struct Statistics {
    std::uint64_t conflicts = 0;        // learnt cubes derived
    std::uint64_t decisions = 0;        // literals set as decisions
    std::uint64_t propagations = 0;     // literals set, decisions and derived
    std::uint64_t visits = 0;           // watch-list entries examined
    std::uint64_t passes = 0;           // search passes run
    std::uint64_t reviews_root = 0;     // reviews after literals were fixed at the root
    std::uint64_t reviews_plain = 0;    // reviews with nothing fixed at the root
    std::uint64_t recipes_included = 0; // learnt cubes added
    std::uint64_t recipes_deleted = 0;  // learnt cubes the reviews dropped
    std::uint64_t cubes_held = 0;       // cubes held at the end
};

struct Result {
    Verdict verdict = Verdict::unknown;
    // When satisfiable: for v = 1..n, +v or -v, exactly the model the command
    // line prints (a variable it leaves out is -v). Empty otherwise.
    std::vector<int> model;
    Statistics stats;
};

// A failure: the exact bytes the command line prints for it (most end with a
// line feed; the solver's capacity messages begin with one instead) and the
// exit status it ends with.
class Error : public std::runtime_error {
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

// Decides the formula of num_vars variables whose clauses are given as
// DIMACS literals (nonzero, within +-num_vars), read by the same rules as a
// file's clause lines: a literal repeated in a clause counts once, a clause
// in which a literal repeats while its complement is present is dropped, and
// an empty clause makes the formula unsatisfiable. Clause k (from 1) with a
// literal L out of range fails with "literal L out of range in clause k".
Result solve(int num_vars, const std::vector<std::vector<int>> &clauses, const Options &options = {});

// Reads the file as the command line does and decides it.
Result solve_file(const std::string &path, const Options &options = {});

// Reads text as the contents of a DIMACS CNF file and decides it.
Result solve_dimacs(std::string_view text, const Options &options = {});

// The library's version, "MAJOR.MINOR.PATCH".
const char *version();

} // namespace vetrix
