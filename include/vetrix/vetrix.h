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

#include <atomic>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "vetrix/error.h"
#include "vetrix/export.h"
#include "vetrix/options.h"
#include "vetrix/progress.h"
#include "vetrix/statistics.h"
#include "vetrix/verdict.h"

namespace vetrix {

struct Options {
    int strategy = 0;              // branching strategy 0, 1, 2 or FAST_STRATEGY
    std::ostream *proof = nullptr; // DRAT proof (LRAT with lrat) written while solving, or none
    double time_limit = 0;         // seconds from the start of the search, 0 = none;
                                   // past it the verdict is unknown
    bool binary_proof = false;     // the proof in binary DRAT (or LRAT) instead of text
    const std::atomic<bool> *stop = nullptr; // raised from another thread to stop the search; the verdict is then unknown
    // The progress callback, when set, is called in the solving thread, never
    // in the middle of a propagation: after a pass and its review, or at a
    // conflict within a long pass, when 0.1 s to 1 s have passed since the
    // last call (a tenth of the time since the start), and once when the
    // search ends (last). An exception it throws ends the solve and reaches
    // the caller. A race of strategies (below) gives no progress reports.
    std::function<void(const Progress &)> progress; // called after passes with the search's counters, or empty
    // The strategies to race on the formula, each in a thread of its own
    // with its own solver; empty: the single strategy, which a list
    // replaces. Each is 0, 1, 2 or FAST_STRATEGY and listed at most once ("wrong strategy
    // N", "repeated strategy N"). The first strategy to reach a verdict wins
    // and its answer is the result, exactly what it gives alone; which one
    // wins depends on the threads' timing, so on a formula that two decide
    // in about the same time the winner, and with it the model, may differ
    // from run to run. The call returns once every strategy has stopped (the
    // others are told to stop at their next decision or conflict). A list of
    // one strategy is exactly a single solve of it, in the calling thread.
    // stop and time_limit apply to every strategy; the proof is the winner's,
    // each strategy writing its own into an anonymous temporary file until
    // the race ends. A strategy that fails (a capacity of its solver) ends
    // alone; when every one fails, the first listed one's error is thrown.
    // A race of more than one strategy gives no progress reports: with a
    // progress callback it fails ("progress reports are not given by a race
    // of strategies").
    std::vector<int> strategies;
    // The proof in LRAT instead of DRAT: every clause with an ID (input
    // clause k, counting every clause given, has ID k) and every added
    // clause with the IDs of the clauses that make it follow by unit
    // propagation, so that a checker needs no search. Last, so that
    // positional initialisers of the fields above keep their meaning.
    bool lrat = false;
    // Bounds of the search (0: none), past which the verdict is unknown:
    // totals of the counters of Result::stats.
    std::int64_t conflict_limit = 0;
    std::int64_t decision_limit = 0;
    std::int64_t propagation_limit = 0;
    // Warm start of an incremental solver's calls (Solver::set_warm_start);
    // a one-shot solve has no earlier model and does not take it.
    bool warm_start = false;

    // Sets the option name (a row of option_table(), as on the command line
    // without "--") to value, given as text as there: set("conflicts",
    // "1000"), set("lrat", "1"). Fails with option_message()'s line.
    VETRIX_API void set(std::string_view name, std::string_view value);
};

struct Result {
    Verdict verdict = Verdict::unknown;
    // When satisfiable: for v = 1..n, +v or -v, exactly the model the command
    // line prints (a variable it leaves out is -v). Empty otherwise.
    std::vector<int> model;
    Statistics stats;
    // The strategy whose search gave the result: the options' strategy for a
    // single solve; for a race the winner, or, when none decided (time limit,
    // stop flag), the first listed one that did not fail.
    int strategy = 0;
};

// True when the options ask for the fast engine (the list, or the single
// strategy when the list is empty, holds FAST_STRATEGY).
VETRIX_API bool uses_fast_engine(const Options &options);

// Decides the formula of num_vars variables whose clauses are given as
// DIMACS literals (nonzero, within +-num_vars), read by the same rules as a
// file's clause lines: a literal repeated in a clause counts once, a clause
// in which a literal repeats while its complement is present is dropped, and
// an empty clause makes the formula unsatisfiable. Clause k (from 1) with a
// literal L out of range fails with "literal L out of range in clause k".
VETRIX_API Result solve(int num_vars, const std::vector<std::vector<int>> &clauses, const Options &options = {});

// Reads the file as the command line does and decides it.
VETRIX_API Result solve_file(const std::string &path, const Options &options = {});

// Reads text as the contents of a DIMACS CNF file and decides it.
VETRIX_API Result solve_dimacs(std::string_view text, const Options &options = {});

// The library's version, "MAJOR.MINOR.PATCH".
VETRIX_API const char *version();

} // namespace vetrix

#include "vetrix/solver.h" // the incremental solver
