// The command line's incremental files ("p inccnf"): every assumption line
// is a call of one incremental solver on the clauses read so far.
#pragma once

#include "solver/control.h"
#include "solver/stats.h"
#include "support/byte_source.h"

namespace vetrix {

// Reads text (an incremental CNF) and decides it call by call with strategy
// n, printing after each assumption line "s SATISFIABLE" and its v lines,
// or "s UNSATISFIABLE" and "f F1 ... Fj 0" (the failed assumptions), or "s
// UNKNOWN", which ends the run (a limit or a signal). A text without an
// assumption line is one call without assumptions at its end. stats, when
// given, receives the counters of every call; control carries the proof
// and the stop conditions to every call.
void solve_incremental_file(ByteSource &text, int n, SolveStats *stats, const SolveControl *control);

} // namespace vetrix
