// The options of vetrix, one row each in one table: the command line's
// --name=value and --help, Options::set, Solver::set, the C and IPASIR
// setters and Python's keyword arguments all read them from here, so an
// option exists, parses and fails alike on every face that takes it.
//
// Every value is given as text and read by the rules of its kind. An
// unknown name, a bad value or an option a face does not take fails with
// the one-line message of option_message(), the same on every face.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vetrix/export.h"
#include "vetrix/strategy.h"

namespace vetrix {

struct Options;

// How an option's value is written.
enum class OptionKind {
    flag,    // "" or "1" or "true": on; "0" or "false": off
    count,   // a decimal integer within [min, max]
    seconds, // a decimal number above min, at most max
    choice,  // one of the words of choices
    list,    // a comma list of words of choices, each at most once; "" the default lanes "fast,0"
    text,    // any text but the empty one (a file name)
};

// The faces an option reaches, or-ed together in OptionInfo::faces.
enum OptionFace : unsigned {
    FACE_COMMAND_LINE = 1, // vetrix --name=value
    FACE_ONE_SHOT = 2,     // vetrix::Options (solve*, the C calls, Python's solve*)
    FACE_INCREMENTAL = 4,  // vetrix::Solver, IPASIR, Python's Solver
    FACE_MPI = 8,          // vetrix-mpi --name=value
};

struct OptionInfo {
    const char *name;          // "--name" on the command line; Python's keyword with '_' for '-'
    OptionKind kind;
    const char *arg;           // the value's name in the help text; "" for a flag
    double min, max;           // the range of a count or seconds
    const char *default_value; // as text; "" when the option is off or absent by default
    const char *choices;       // a choice's or list's words, comma-separated, in index order; else ""
    unsigned faces;            // OptionFace bits
    const char *help;          // one line
};

// A value read by its option's kind.
struct OptionValue {
    bool on = false;          // flag
    std::int64_t count = 0;   // count
    double seconds = 0;       // seconds
    int choice = 0;           // choice: the word's index in choices
    std::vector<int> list;    // list: the words' indexes, in the order given
    std::string text;         // text
};

// Every option, in the order of --help.
VETRIX_API const std::vector<OptionInfo> &option_table();

// The row of name, or null.
VETRIX_API const OptionInfo *find_option(std::string_view name);

// Reads text by info's kind into value; false when it is not a value of it.
VETRIX_API bool parse_option_value(const OptionInfo &info, std::string_view text, OptionValue &value);

// The one-line message (no line end) for setting option name to value on
// face: empty when it is fine, else "vetrix: unknown option '--NAME'",
// "vetrix: bad value 'VALUE' for option '--NAME'" or "vetrix: option
// '--NAME' is not taken by FACE".
VETRIX_API std::string option_message(std::string_view name, std::string_view value, OptionFace face);

// A program's argument "--name" or "--name=value" ("--name" is "--name="),
// read for face.
struct OptionArgument {
    std::string name, value; // as written
    OptionValue parsed;      // value read by the option's kind
};

// Reads arg into argument; empty when face takes it, else option_message()'s line.
VETRIX_API std::string read_option_argument(std::string_view arg, OptionFace face, OptionArgument &argument);

// One line per option face takes, in the order of the table: "  --NAME=ARG"
// (a flag without "=ARG", a list as "[=ARG]") and its help, for --help.
VETRIX_API std::string option_help(OptionFace face);

// Sets option name to value in options as face takes it (Options::set is
// the one-shot face's); fails (vetrix::Error) with option_message()'s line.
// The command line's own options (help, proof, ...) are checked but change
// nothing in options.
VETRIX_API void set_option(Options &options, std::string_view name, std::string_view value, OptionFace face);

} // namespace vetrix
