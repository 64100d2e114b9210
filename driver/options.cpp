#include "driver/options.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace vetrix {

namespace {

enum class Value { none, required, optional };

struct OptionRow {
    const char *name;   // without the leading "--"
    Value value;        // whether "=value" is taken
    const char *arg;    // placeholder of the value in the help text
    const char *help;   // one line for --help
    // Applies the option; returns false when value is not acceptable.
    bool (*apply)(RunOptions &options, const std::string &value);
};

// The strategies of --portfolio: without a value 0, 1 and 2; else a comma
// list of 0, 1 and 2, each at most once.
bool parse_portfolio(const std::string &text, std::vector<int> &strategies) {
    if (text.empty()) {
        strategies = {0, 1, 2};
        return true;
    }
    strategies.clear();
    for (size_t k = 0; k < text.size(); k += 2) {
        const int n = text[k] - '0';
        const bool ends = k + 1 == text.size() || text[k + 1] == ',';
        if (n < 0 || n > 2 || !ends || k + 1 == text.size() - 1 ||
            std::find(strategies.begin(), strategies.end(), n) != strategies.end())
            return false;
        strategies.push_back(n);
    }
    return true;
}

// A number of seconds: decimal, above 0, at most about 31 years.
bool parse_seconds(const std::string &text, double &seconds) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
        return false;
    char *end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value) || value <= 0 || value > 1e9)
        return false;
    seconds = value;
    return true;
}

const OptionRow OPTIONS[] = {
    {"help", Value::none, "", "print this text and exit",
     [](RunOptions &o, const std::string &) { o.help = true; return true; }},
    {"version", Value::none, "", "print the version and exit",
     [](RunOptions &o, const std::string &) { o.version = true; return true; }},
    {"stats", Value::none, "", "write search counters, memory and time to standard error",
     [](RunOptions &o, const std::string &) { o.stats = true; return true; }},
    {"verbose", Value::none, "", "write a line of search progress to standard error every so often",
     [](RunOptions &o, const std::string &) { o.verbose = true; return true; }},
    {"proof", Value::required, "FILE", "write a DRAT proof to FILE ('-' standard output, text only)",
     [](RunOptions &o, const std::string &v) { o.proof = v; return !v.empty(); }},
    {"binary-proof", Value::none, "", "write the proof in binary DRAT (or binary LRAT)",
     [](RunOptions &o, const std::string &) { o.binary_proof = true; return true; }},
    {"lrat", Value::none, "", "write the proof in LRAT: clause IDs and the hints of each step",
     [](RunOptions &o, const std::string &) { o.lrat = true; return true; }},
    {"time", Value::required, "SECONDS", "stop the search after SECONDS of wall time: s UNKNOWN",
     [](RunOptions &o, const std::string &v) { return parse_seconds(v, o.time_limit); }},
    {"portfolio", Value::optional, "LIST",
     "race strategies 0,1,2 (or LIST) in threads: the first verdict wins",
     [](RunOptions &o, const std::string &v) { return parse_portfolio(v, o.portfolio); }},
};

const OptionRow *find_option(const std::string &name) {
    for (const OptionRow &row : OPTIONS)
        if (name == row.name)
            return &row;
    return nullptr;
}

// Applies one "--name[=value]" argument.
bool apply_option(const char *arg, RunOptions &options, std::string &error) {
    const char *body = arg + 2;
    const char *eq = std::strchr(body, '=');
    const std::string name = eq ? std::string(body, eq) : std::string(body);
    const OptionRow *row = find_option(name);
    if (!row) {
        error = "vetrix: unknown option '--" + name + "' (see --help)";
        return false;
    }
    if (row->value == Value::none && eq) {
        error = "vetrix: option '--" + name + "' takes no value";
        return false;
    }
    if (row->value == Value::optional && eq && eq[1] == '\0') {
        error = "vetrix: bad value '' for option '--" + name + "'";
        return false;
    }
    if (row->value == Value::required && !eq) {
        error = "vetrix: option '--" + name + "' needs a value: --" + name + "=" + row->arg;
        return false;
    }
    const std::string value = eq ? std::string(eq + 1) : std::string();
    if (!row->apply(options, value)) {
        error = "vetrix: bad value '" + value + "' for option '--" + name + "'";
        return false;
    }
    return true;
}

// A binary proof needs a file, and on standard output it could not be told
// apart from the verdict lines. The strategies of a portfolio race in
// threads of their own, which report no progress.
bool options_fit_together(const RunOptions &options, std::string &error) {
    if (options.lrat && options.proof.empty()) {
        error = "vetrix: option '--lrat' needs --proof=FILE";
        return false;
    }
    if (options.binary_proof && options.proof.empty()) {
        error = "vetrix: option '--binary-proof' needs --proof=FILE";
        return false;
    }
    if (options.binary_proof && options.proof == "-") {
        error = "vetrix: option '--binary-proof' cannot write to standard output ('--proof=-')";
        return false;
    }
    if (!options.portfolio.empty() && options.proof == "-") {
        error = "vetrix: option '--portfolio' cannot write the proof to standard output ('--proof=-')";
        return false;
    }
    if (!options.portfolio.empty() && options.verbose) {
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
    if (!line.options.portfolio.empty() && line.positional.size() > 1) {
        error = "vetrix: a strategy argument cannot go with '--portfolio'";
        return false;
    }
    return options_fit_together(line.options, error);
}

std::string help_text() {
    std::string text = "usage: vetrix [options] file_name [n]\n"
                       "  file_name  DIMACS CNF file, '-' for standard input\n"
                       "  n          branching strategy 0 (default), 1 or 2\n"
                       "options:\n";
    for (const OptionRow &row : OPTIONS) {
        std::string left = std::string("--") + row.name;
        if (row.value == Value::required)
            left += std::string("=") + row.arg;
        if (row.value == Value::optional)
            left += std::string("[=") + row.arg + "]";
        left.resize(left.size() < 20 ? 20 : left.size() + 1, ' ');
        text += "  " + left + row.help + "\n";
    }
    return text;
}

} // namespace vetrix
