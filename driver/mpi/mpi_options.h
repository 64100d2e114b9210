// The options of vetrix-mpi: `vetrix-mpi [options] file_name`. Each is a row
// of the library's table of options (vetrix/options.h) that vetrix-mpi's
// face takes: the ones it shares with vetrix parse and fail as there, and
// its own (budget, share, tree) are rows of that face alone.
#pragma once

#include <cstdint>
#include <string>

#include "vetrix/strategy.h"

namespace vetrix {

struct MpiOptions {
    bool help = false;             // --help: usage and the options, status 0
    bool version = false;          // --version
    std::string file;              // the formula ("-": standard input)
    std::string proof;             // DRAT proof file of an UNSAT answer, or none
    std::string tree;              // the cube tree's record (one line per cube), or none
    double time_limit = 0;         // seconds of wall time, 0 = none
    int strategy = FAST_STRATEGY;  // the workers' engine
    std::int64_t budget = 3000;    // conflicts of one attempt at a cube
    int share = 3;                 // longest learnt clause the workers share
    bool warm_start = true;        // workers decide in the last model's polarity
    bool stats = false;            // counters of the run on standard error
};

// Reads the command line; false with one line in error for an unknown
// option, a bad value, an option vetrix-mpi does not take or a wrong number
// of arguments.
bool parse_mpi_options(int argc, char **argv, MpiOptions &options, std::string &error);

// The text of --help: the usage line, the defaults that differ from
// vetrix's, and one line per option of vetrix-mpi's face.
std::string mpi_help_text();

} // namespace vetrix
