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
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "vetrix/error.h"
#include "vetrix/export.h"
#include "vetrix/progress.h"
#include "vetrix/statistics.h"

namespace vetrix {

enum class Verdict { satisfiable, unsatisfiable, unknown };

struct Options {
    int strategy = 0;              // branching strategy 0, 1 or 2
    std::ostream *proof = nullptr; // DRAT proof written while solving, or none
    double time_limit = 0;         // seconds from the start of the search, 0 = none;
                                   // past it the verdict is unknown
    bool binary_proof = false;     // the proof in binary DRAT instead of text
    const std::atomic<bool> *stop = nullptr; // raised from another thread to stop the search; the verdict is then unknown
    // The progress callback, when set, is called in the solving thread, never
    // in the middle of a propagation: after a pass and its review, or at a
    // conflict within a long pass, when 0.1 s to 1 s have passed since the
    // last call (a tenth of the time since the start), and once when the
    // search ends (last). An exception it throws ends the solve and reaches
    // the caller.
    std::function<void(const Progress &)> progress; // called after passes with the search's counters, or empty
};

struct Result {
    Verdict verdict = Verdict::unknown;
    // When satisfiable: for v = 1..n, +v or -v, exactly the model the command
    // line prints (a variable it leaves out is -v). Empty otherwise.
    std::vector<int> model;
    Statistics stats;
};

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
