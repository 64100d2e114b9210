#include "driver/options.h"

#include <cstring>

#include "vetrix/vetrix.h"

namespace vetrix {

namespace {

// The options vetrix::Options does not hold, which the command line applies
// itself; false for the others.
bool apply_own(RunOptions &options, const std::string &name, const OptionValue &value) {
    bool *flag = name == "help"      ? &options.help
                 : name == "version" ? &options.version
                 : name == "stats"   ? &options.stats
                 : name == "verbose" ? &options.verbose
                                     : nullptr;
    if (flag)
        *flag = value.on;
    if (name == "proof")
        options.proof = value.text;
    return flag || name == "proof";
}

// Applies one "--name[=value]" argument; "--name" is "--name=".
bool apply_option(const char *arg, RunOptions &options, std::string &error) {
    OptionArgument option;
    error = read_option_argument(arg, FACE_COMMAND_LINE, option);
    if (!error.empty())
        return false;
    if (!apply_own(options, option.name, option.parsed))
        set_option(options.solve, option.name, option.value, FACE_COMMAND_LINE);
    options.strategy_given = options.strategy_given || option.name == "strategy";
    return true;
}

// A binary proof needs a file, and on standard output it could not be told
// apart from the verdict lines. The strategies of a portfolio race in
// threads of their own, which report no progress.
bool options_fit_together(const RunOptions &options, std::string &error) {
    if (options.solve.lrat && options.proof.empty()) {
        error = "vetrix: option '--lrat' needs --proof=FILE";
        return false;
    }
    if (options.solve.binary_proof && options.proof.empty()) {
        error = "vetrix: option '--binary-proof' needs --proof=FILE";
        return false;
    }
    if (options.solve.binary_proof && options.proof == "-") {
        error = "vetrix: option '--binary-proof' cannot write to standard output ('--proof=-')";
        return false;
    }
    if (!options.solve.strategies.empty() && options.proof == "-") {
        error = "vetrix: option '--portfolio' cannot write the proof to standard output ('--proof=-')";
        return false;
    }
    if (!options.solve.strategies.empty() && options.verbose) {
        error = "vetrix: option '--verbose' cannot go with '--portfolio'";
        return false;
    }
    return true;
}

} // namespace

bool parse_command_line(int argc, char **argv, CommandLine &line, std::string &error) {
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        char *arg = argv[i];
        if (options_ended || std::strncmp(arg, "--", 2) != 0) {
            line.positional.push_back(arg);
        } else if (arg[2] == '\0') {
            options_ended = true;
        } else if (!apply_option(arg, line.options, error)) {
            return false;
        }
    }
    if (!line.options.solve.strategies.empty() && line.positional.size() > 1) {
        error = "vetrix: a strategy argument cannot go with '--portfolio'";
        return false;
    }
    if (line.options.strategy_given && line.positional.size() > 1) {
        error = "vetrix: a strategy argument cannot go with '--strategy'";
        return false;
    }
    return options_fit_together(line.options, error);
}

std::string help_text() {
    std::string text = "usage: vetrix [options] file_name [n]\n"
                       "  file_name  DIMACS CNF file, '-' for standard input\n"
                       "  n          branching strategy 0 (default), 1 or 2 (or --strategy=fast)\n"
                       "options:\n";
    return text + option_help(FACE_COMMAND_LINE);
}

} // namespace vetrix
