// The clauses of a DIMACS CNF file, read as the command line reads it, for a
// program that hands the formula on instead of deciding it here (a
// distributed solver's first rank, a tool).
//
//   vetrix::Cnf cnf = vetrix::read_cnf_file("f.cnf.gz");
//   for (const std::vector<int> &clause : cnf.clauses) ...
#pragma once

#include <string>
#include <vector>

#include "vetrix/error.h"
#include "vetrix/export.h"

namespace vetrix {

struct Cnf {
    int num_vars = 0;                      // the problem line's variable count
    std::vector<std::vector<int>> clauses; // DIMACS literals, file order
};

// Reads path (standard input for "-"; plain or compressed) by the command
// line's rules: a literal repeated in a clause is kept once, in order of
// first appearance, a clause holding a literal and its complement is
// dropped, an empty clause is kept (the formula is then unsatisfiable), and
// once a unit clause meets the unit clause of its complement just those two
// are kept. A file the command line refuses fails with a vetrix::Error
// whose message is exactly what the command line prints for it.
VETRIX_API Cnf read_cnf_file(const std::string &path);

} // namespace vetrix
