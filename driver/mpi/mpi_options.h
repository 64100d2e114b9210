// The options of vetrix-mpi: `vetrix-mpi [options] FILE`.
#pragma once

#include <cstdint>
#include <string>

namespace vetrix {

struct MpiOptions {
    std::string file;              // the formula ("-": standard input)
    std::string proof;             // DRAT proof file of an UNSAT answer, or none
    std::string tree;              // the cube tree's record (one line per cube), or none
    double time_limit = 0;         // seconds of wall time, 0 = none
    int strategy = 1;              // the workers' branching strategy
    std::int64_t budget = 3000;    // conflicts of one attempt at a cube
    int share = 3;                 // longest learnt clause the workers share
    bool warm_start = true;        // workers decide in the last model's polarity
    bool stats = false;            // counters of the run on standard error
};

// Reads the command line; false with one line in error for an unknown
// option, a bad value or a wrong number of arguments.
bool parse_mpi_options(int argc, char **argv, MpiOptions &options, std::string &error);

} // namespace vetrix
