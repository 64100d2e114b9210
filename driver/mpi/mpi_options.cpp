#include "driver/mpi/mpi_options.h"

#include <cstring>
#include <vector>

#include "vetrix/options.h"

namespace vetrix {

namespace {

// Stores an option the table has accepted for vetrix-mpi's face.
void store(const std::string &name, const OptionValue &value, MpiOptions &o) {
    if (name == "help")
        o.help = value.on;
    else if (name == "version")
        o.version = value.on;
    else if (name == "stats")
        o.stats = value.on;
    else if (name == "warm-start")
        o.warm_start = value.on;
    else if (name == "time")
        o.time_limit = value.seconds;
    else if (name == "strategy")
        o.strategy = value.choice;
    else if (name == "budget")
        o.budget = value.count;
    else if (name == "share")
        o.share = static_cast<int>(value.count);
    else if (name == "proof")
        o.proof = value.text;
    else if (name == "tree")
        o.tree = value.text;
}

// Applies one "--name[=value]" argument ("--name" is "--name="); false with
// the table's line in error.
bool apply(const char *arg, MpiOptions &options, std::string &error) {
    OptionArgument option;
    error = read_option_argument(arg, FACE_MPI, option);
    if (error.empty())
        store(option.name, option.parsed, options);
    return error.empty();
}

} // namespace

bool parse_mpi_options(int argc, char **argv, MpiOptions &options, std::string &error) {
    std::vector<std::string> positional;
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (options_ended || std::strncmp(arg, "--", 2) != 0)
            positional.push_back(arg);
        else if (arg[2] == '\0')
            options_ended = true;
        else if (!apply(arg, options, error))
            return false;
    }
    if (options.help || options.version)
        return true;
    // The combined proof is a file rank 0 writes while the verdict is not yet known.
    if (options.proof == "-") {
        error = "vetrix-mpi: option '--proof' needs a file, not standard output ('--proof=-')";
        return false;
    }
    if (positional.size() != 1) {
        error = "usage: vetrix-mpi [options] file_name (--help lists the options)";
        return false;
    }
    options.file = positional[0];
    return true;
}

std::string mpi_help_text() {
    return "usage: mpirun -np N vetrix-mpi [options] file_name\n"
           "  file_name  DIMACS CNF file, '-' for standard input\n"
           "  the workers default to --strategy=fast; --proof needs a file\n"
           "options:\n" +
           option_help(FACE_MPI);
}

} // namespace vetrix
