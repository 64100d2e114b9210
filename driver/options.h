// The command line beyond `vetrix file_name [n]`: options are the arguments
// that begin with "--" ("--name" or "--name=value"), accepted anywhere; "--"
// alone ends them. What remains are the positional arguments, which keep the
// rules of the plain command line.
#pragma once

#include <string>
#include <vector>

#include "vetrix/vetrix.h"

namespace vetrix {

struct RunOptions {
    bool help = false;    // --help: usage and every option, status 0
    bool version = false; // --version
    bool stats = false;   // --stats: counters on standard error after the verdict
    bool verbose = false; // --verbose: progress lines on standard error while solving
    std::string proof;    // --proof=FILE: DRAT (or LRAT) proof to FILE ("-" standard output)
    bool strategy_given = false; // --strategy=N, which the argument n cannot join
    // The library's options (option_table()): the proof's format, the
    // limits, --portfolio's strategies (empty: no race), the strategy.
    vetrix::Options solve;
};

struct CommandLine {
    RunOptions options;
    std::vector<char *> positional; // file_name and n, in their order
};

// Splits argv[1 ..] into options and positional arguments. On an unknown
// option or a bad value returns false with a one-line message in error.
bool parse_command_line(int argc, char **argv, CommandLine &line, std::string &error);

// The text of --help: the usage line and one line per option.
std::string help_text();

} // namespace vetrix
